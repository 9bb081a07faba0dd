#include "informer/winfast.h"

#include "platform/modal.h"
#include "platform/text_win.h"

namespace {
const char* const Caption = "Fast INFO - Vornik V1.5";
const COLORREF Cream = RGB(255, 251, 240);
const BYTE DesignOpacity = 150;
}  // namespace

void TForm2::Create(HICON icon)
{
    Register(L"TForm2", icon, CreateSolidBrush(Cream));
    CreateHandle(L"TForm2", ProgramText(Caption), WS_POPUP | WS_CAPTION, WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_DLGMODALFRAME,
                 425, 38);
    SetLayeredWindowAttributes(Handle(), 0, DesignOpacity, LWA_ALPHA);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

    tray_.cbSize = sizeof tray_;
    tray_.hWnd = Handle();
    tray_.uID = 1;
    tray_.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    tray_.uCallbackMessage = TrayMessage;
    tray_.hIcon = icon;
    lstrcpynW(tray_.szTip, ProgramText(ApplicationTitle).c_str(), ARRAYSIZE(tray_.szTip));
    AddTrayIcon();
}

TForm2::~TForm2()
{
    // Destroyed here, while this object still handles WM_DESTROY and removes the tray icon.
    if (Handle())
        DestroyWindow(Handle());
}

void TForm2::AddTrayIcon() { Shell_NotifyIconW(NIM_ADD, &tray_); }

void TForm2::N2Click()
{
    if (ost && ost())
        PostQuitMessage(0);
}

void TForm2::FormCloseQuery()
{
    // Ending the program is a quit of the message loop, never a second close of this window.
    N2Click();
}

void TForm2::Form1N10Click()
{
    if (ShowMainForm)
        ShowMainForm();
    Hide();
}

void TForm2::N7Click() { Show(); }

void TForm2::abfTrayIcon1DblClick()
{
    if (Visible())
        Hide();
    else
        Show();
}

void TForm2::ShowTrayMenu()
{
    HMENU menu = CreatePopupMenuOf({{IdMainForm, "Главная форма"}, {0, "-"}, {IdInformer, "Информер"}, {0, "-"},
                                    {IdExit, "Выход"}});
    POINT at;
    GetCursorPos(&at);
    UINT command = TrackMenu(Handle(), menu, at);
    DestroyMenu(menu);
    switch (command) {
    case IdMainForm: Form1N10Click(); break;
    case IdInformer: N7Click(); break;
    case IdExit: N2Click(); break;
    }
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        AddTrayIcon();  // the shell restarted: the icon comes back
        return 0;
    }
    switch (message) {
    case TrayMessage:
        if (LOWORD(lParam) == WM_RBUTTONUP)
            ShowTrayMenu();
        else if (LOWORD(lParam) == WM_LBUTTONDBLCLK)
            abfTrayIcon1DblClick();
        return 0;
    case WM_CLOSE:
        FormCloseQuery();
        return 0;
    case WM_QUERYENDSESSION:
        // Log-off or shut-down: the state is written before Windows goes on.
        return ost && ost() ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (!wParam && ResumeSampling)
            ResumeSampling();
        return 0;
    case WM_DESTROY:
        Shell_NotifyIconW(NIM_DELETE, &tray_);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}
