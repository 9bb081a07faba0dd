#include "platform/window_win.h"

#include <exception>

#include "platform/dpi_win.h"
#include "platform/modal.h"
#include "platform/text_win.h"

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

Window::~Window()
{
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Window::Show()
{
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void Window::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void Window::Register(const wchar_t* className, HICON icon, HBRUSH background, UINT style)
{
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(ModuleInstance(), className, &wc))
        return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

void Window::CreateHandle(const wchar_t* className, const std::wstring& caption, DWORD style, DWORD exStyle,
                          int clientWidth, int clientHeight, HWND owner)
{
    dpi_ = SystemDpi();
    RECT r{0, 0, Scaled(clientWidth), Scaled(clientHeight)};
    AdjustWindowRectToDpi(r, style, exStyle, dpi_);
    CreateWindowExW(exStyle, className, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                    r.bottom - r.top, owner, nullptr, ModuleInstance(), this);
    // A monitor of its own DPI (the scaling was changed since log-on): sized again for it.
    const int dpi = WindowDpi(hwnd_);
    if (hwnd_ && dpi != dpi_) {
        dpi_ = dpi;
        r = RECT{0, 0, Scaled(clientWidth), Scaled(clientHeight)};
        AdjustWindowRectToDpi(r, style, exStyle, dpi_);
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Window::DpiChanged(int oldDpi)
{
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        auto scale = [&](LONG v) { return MulDiv(v, dpi_, oldDpi); };
        SetWindowPos(child, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left),
                     scale(r.bottom) - scale(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Window::CenterOnScreen()
{
    RECT r;
    GetWindowRect(hwnd_, &r);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.left + ((work.right - work.left) - (r.right - r.left)) / 2;
    int y = work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DPICHANGED) {
        const int oldDpi = dpi_;
        const int dpi = HIWORD(wParam);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        if (dpi > 0 && dpi != oldDpi) {
            dpi_ = dpi;
            DpiChanged(oldDpi);
        }
        if (suggested)
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    }
    return 0;
}

void HiddenWindow::CreateHidden(const wchar_t* className, const char* caption, int clientWidth, int clientHeight,
                                COLORREF background)
{
    Register(className, nullptr, CreateSolidBrush(background));
    CreateHandle(className, ProgramText(caption), WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                 clientWidth, clientHeight);
    CenterOnScreen();
}

HiddenWindow::~HiddenWindow()
{
    if (Handle())
        DestroyWindow(Handle());
    for (const OwnedFont& font : fonts_)
        DeleteObject(font.Handle);
}

HFONT HiddenWindow::Font(int pixels, bool bold, const wchar_t* face)
{
    HFONT font = CreateScaledFont(pixels, Dpi(), bold, face);
    fonts_.push_back(OwnedFont{pixels, bold, face, font});
    return font;
}

void HiddenWindow::SetFont(HWND control, HFONT font)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void HiddenWindow::DpiChanged(int oldDpi)
{
    Window::DpiChanged(oldDpi);
    for (OwnedFont& font : fonts_) {
        HFONT scaled = CreateScaledFont(font.Pixels, Dpi(), font.Bold, font.Face);
        for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == font.Handle)
                SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), TRUE);
        DeleteObject(font.Handle);
        font.Handle = scaled;
    }
}

LRESULT HiddenWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        Hide();
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

HMENU CreatePopupMenuOf(std::initializer_list<MenuItem> items)
{
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : items) {
        if (item.Command == 0)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, item.Command, ProgramText(item.Caption).c_str());
    }
    return menu;
}

UINT TrackMenu(HWND owner, HMENU menu, POINT at)
{
    SetForegroundWindow(owner);  // so the menu closes when the user clicks elsewhere
    UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    return command;
}

ScreenRect MonitorWorkArea(HWND window)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    return ScreenRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}
