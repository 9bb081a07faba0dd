#include "platform/window_win.h"

#include <exception>

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
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    CreateWindowExW(exStyle, className, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                    r.bottom - r.top, owner, nullptr, ModuleInstance(), this);
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

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

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
