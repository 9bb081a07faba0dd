#include "informer/set_pr.h"

#include <commctrl.h>

#include <string>

#include "platform/dpi_win.h"
#include "platform/text_win.h"

TForm6::~TForm6()
{
    if (Handle())
        DestroyWindow(Handle());
}

void TForm6::Create()
{
    CreateHidden(L"TForm6", "Прозрачность окна", 283, 69, GetSysColor(COLOR_BTNFACE));
    HFONT font = Font(11, false, InterfaceFace);
    HWND label1 = CreateWindowExW(0, L"STATIC", ProgramText("Значение прозрачности: ").c_str(), WS_CHILD | WS_VISIBLE,
                                  Scaled(8), Scaled(8), Scaled(128), Scaled(13), Handle(), nullptr, ModuleInstance(),
                                  nullptr);
    label2_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, Scaled(136), Scaled(8), Scaled(40), Scaled(13),
                              Handle(), nullptr, ModuleInstance(), nullptr);
    trackBar_ = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS,
                                0, Scaled(24), Scaled(281), Scaled(45), Handle(), nullptr, ModuleInstance(), nullptr);
    for (HWND control : {label1, label2_})
        SetFont(control, font);
    SendMessageW(trackBar_, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(trackBar_, TBM_SETRANGEMAX, FALSE, 255);
    SendMessageW(trackBar_, TBM_SETTICFREQ, 5, 0);
}

void TForm6::ShowDialog()
{
    bool wasVisible = Visible();
    Show();
    if (!wasVisible)
        FormShow();
}

void TForm6::FormShow()
{
    SetWindowTextW(label2_, std::to_wstring(informer_.Opacity()).c_str());
    if (SendMessageW(trackBar_, TBM_GETPOS, 0, 0) != informer_.Opacity()) {
        // No notification comes for a change made by the program: the handler is called.
        SendMessageW(trackBar_, TBM_SETPOS, TRUE, informer_.Opacity());
        TrackBar1Change();
    }
}

void TForm6::TrackBar1Change()
{
    LRESULT position = SendMessageW(trackBar_, TBM_GETPOS, 0, 0);
    SetWindowTextW(label2_, std::to_wstring(position).c_str());
    informer_.ChangeOpacity(static_cast<uint8_t>(position));
}

LRESULT TForm6::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == trackBar_) {
        TrackBar1Change();
        return 0;
    }
    return HiddenWindow::HandleMessage(message, wParam, lParam);
}
