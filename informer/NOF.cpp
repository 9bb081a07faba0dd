#include "informer/NOF.h"

#include <commctrl.h>
#include <windowsx.h>

#include "engine/engine.h"
#include "informer/hidden_connections.h"
#include "informer/winfast.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"

namespace {
const COLORREF Cream = RGB(255, 251, 240);
const int ItemHeight = 13;
}  // namespace

TForm5::~TForm5()
{
    if (Handle())
        DestroyWindow(Handle());
}

void TForm5::Create()
{
    CreateHidden(L"TForm5", "Выбирете соединения для отображения", 571, 166, Cream);
    HFONT font = Font(11, false, InterfaceFace);
    // Sorted by the list itself, in the user's locale order: that order is the order of the
    // lines saved.
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_SORT | LBS_HASSTRINGS |
                                LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                            0, 0, Scaled(569), Scaled(129), Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdCheckListBox1)),
                            ModuleInstance(), nullptr);
    SetFont(list_, font);
    SendMessageW(list_, LB_SETITEMHEIGHT, 0, Scaled(ItemHeight));
    SetWindowSubclass(list_, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));

    HWND button = CreateWindowExW(0, L"BUTTON", ProgramText("Сохранить изменения").c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_FLAT, Scaled(8),
                                  Scaled(136), Scaled(553), Scaled(22),
                                  Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdSpeedButton1)),
                                  ModuleInstance(), nullptr);
    SetFont(button, font);

    hint_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, Handle(),
                            nullptr, ModuleInstance(), nullptr);
    std::wstring hintText = ProgramText("Доступные соединения для отображения");
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = hintText.data();
    SendMessageW(hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TForm5::ShowDialog()
{
    bool wasVisible = Visible();
    Show();
    if (!wasVisible)
        FormShow();
}

void TForm5::FormShow() { SpeedButton2Click(); }

// A file that cannot be read ends the reload with its error; the list keeps what was read.
void TForm5::SpeedButton2Click()
{
    SetItems({});
    std::vector<ChooserItem> items = ChooserItems(ReadChooserFile(folder_ / PriceFileName, false));
    SetItems(items);
    // Nothing has been hidden yet when the file is missing.
    UncheckHidden(items, ReadChooserFile(folder_ / HiddenConnectionsFileName, true));
    SetItems(items);
}

void TForm5::SpeedButton1Click()
{
    std::vector<ChooserItem> inListOrder;
    for (int i = 0; i < ItemCount(); ++i)
        inListOrder.push_back(items_.at(ItemIndex(i)));
    store_.Save(folder_ / HiddenConnectionsFileName, HiddenConnectionsText(inListOrder));
    Hide();
}

void TForm5::SetItems(const std::vector<ChooserItem>& items)
{
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    items_ = items;
    for (std::size_t k = 0; k < items_.size(); ++k) {
        LRESULT at = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UserText(items_[k].Name).c_str()));
        SendMessageW(list_, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(k));
    }
}

int TForm5::ItemCount() const { return static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0)); }

std::size_t TForm5::ItemIndex(int index) const
{
    return static_cast<std::size_t>(SendMessageW(list_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

std::string TForm5::ItemName(int index) const { return items_.at(ItemIndex(index)).Name; }

bool TForm5::Checked(int index) const { return items_.at(ItemIndex(index)).Checked; }

void TForm5::Toggle(int index)
{
    ChooserItem& item = items_.at(ItemIndex(index));
    item.Checked = !item.Checked;
    RECT r;
    if (SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(list_, &r, FALSE);
}

void TForm5::DrawItem(const DRAWITEMSTRUCT& draw)
{
    if (draw.itemID == static_cast<UINT>(-1))
        return;
    const ChooserItem& item = items_.at(static_cast<std::size_t>(draw.itemData));
    RECT r = draw.rcItem;
    bool selected = (draw.itemState & ODS_SELECTED) != 0;
    FillRect(draw.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    RECT box{r.left + Scaled(2), r.top + Scaled(1), r.left + Scaled(ItemHeight), r.bottom - Scaled(1)};
    DrawFrameControl(draw.hDC, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (item.Checked ? DFCS_CHECKED : 0));

    RECT text = r;
    text.left += Scaled(CheckWidth + 2);
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring name = UserText(item.Name);
    DrawTextW(draw.hDC, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (draw.itemState & ODS_FOCUS)
        DrawFocusRect(draw.hDC, &r);
}

// A click on an item's check box or the space bar toggles the item's mark.
LRESULT CALLBACK TForm5::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR self)
{
    auto* form = reinterpret_cast<TForm5*>(self);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
        if (HIWORD(hit) == 0 && GET_X_LPARAM(lParam) < form->Scaled(CheckWidth))
            form->Toggle(LOWORD(hit));
        break;
    }
    case WM_CHAR:
        if (wParam == L' ') {
            LRESULT caret = SendMessageW(hwnd, LB_GETCARETINDEX, 0, 0);
            if (caret >= 0 && caret < form->ItemCount())
                form->Toggle(static_cast<int>(caret));
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, ListProc, id);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void TForm5::DpiChanged(int oldDpi)
{
    HiddenWindow::DpiChanged(oldDpi);
    SendMessageW(list_, LB_SETITEMHEIGHT, 0, Scaled(ItemHeight));
}

LRESULT TForm5::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM:
        if (wParam == IdCheckListBox1) {
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IdSpeedButton1 && HIWORD(wParam) == BN_CLICKED) {
            SpeedButton1Click();
            return 0;
        }
        break;
    }
    return HiddenWindow::HandleMessage(message, wParam, lParam);
}
