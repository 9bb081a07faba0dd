#include "informer/NForm.h"

#include "platform/dpi_win.h"
#include "platform/text_win.h"

namespace {
struct BoxDesign {
    const char* caption;
    int top;
    int checkedWidth;  // the informer column's width while the box is checked
};
const BoxDesign Boxes[3] = {{"Трафик", 8, 90}, {"Сумма", 32, 75}, {"Скорость", 56, 75}};

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
}  // namespace

TForm4::~TForm4()
{
    if (Handle())
        DestroyWindow(Handle());
}

void TForm4::Create()
{
    CreateHidden(L"TForm4", "Поля", 126, 80, GetSysColor(COLOR_BTNFACE));
    HFONT font = Font(11, false, InterfaceFace);
    for (int i = 0; i < 3; ++i) {
        boxes_[i] = CreateWindowExW(0, L"BUTTON", ProgramText(Boxes[i].caption).c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, Scaled(16),
                                    Scaled(Boxes[i].top), Scaled(75), Scaled(17), Handle(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdCheckBox1 + i)), ModuleInstance(),
                                    nullptr);
        SetFont(boxes_[i], font);
        SendMessageW(boxes_[i], BM_SETCHECK, BST_CHECKED, 0);
    }
}

void TForm4::ShowDialog()
{
    bool wasVisible = Visible();
    Show();
    if (!wasVisible)
        FormShow();
}

void TForm4::FormShow()
{
    for (int column = 1; column <= 3; ++column) {
        HWND box = CheckBox(column);
        if (informer_.ColumnWidth(column) == 0 && Checked(box)) {
            // No notification comes for a change made by the program: the handler is called.
            SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
            ColumnBoxClick(column);
        }
    }
}

void TForm4::CheckBox1Click() { ColumnBoxClick(1); }
void TForm4::CheckBox2Click() { ColumnBoxClick(2); }
void TForm4::CheckBox3Click() { ColumnBoxClick(3); }

// A re-checked column gets its fixed width back, whatever the user had dragged it to.
void TForm4::ColumnBoxClick(int column)
{
    informer_.SetColumnWidth(column, Checked(CheckBox(column)) ? Boxes[column - 1].checkedWidth : 0);
    informer_.FitWidth();
    informer_.save_size_position();
}

LRESULT TForm4::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IdCheckBox1: CheckBox1Click(); return 0;
        case IdCheckBox2: CheckBox2Click(); return 0;
        case IdCheckBox3: CheckBox3Click(); return 0;
        }
    }
    return HiddenWindow::HandleMessage(message, wParam, lParam);
}
