#pragma once
// The one way a form object is attached to its window: `this` is stored at WM_NCCREATE and
// every message is forwarded to HandleMessage. An exception thrown by a handler ends that
// handler and is shown as the application's error box.
#include <windows.h>

#include <initializer_list>
#include <string>

#include "platform/screen_area.h"

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }
    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void Show();  // shows and brings to the front
    void Hide();

protected:
    static void Register(const wchar_t* className, HICON icon, HBRUSH background, UINT style = 0);
    void CreateHandle(const wchar_t* className, const std::wstring& caption, DWORD style, DWORD exStyle,
                      int clientWidth, int clientHeight, HWND owner = nullptr);
    void CenterOnScreen();
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, message, wParam, lParam); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

HINSTANCE ModuleInstance();

// The work area (the screen less the taskbar) of the monitor the window stands on, or nearest to.
ScreenRect MonitorWorkArea(HWND window);

// A small window that is created hidden, shown on demand and only hidden when closed.
class HiddenWindow : public Window {
protected:
    void CreateHidden(const wchar_t* className, const char* caption, int clientWidth, int clientHeight,
                      COLORREF background);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A popup menu from (command, caption) pairs; a command of 0 is a separator.
struct MenuItem {
    UINT Command;
    const char* Caption;
};
HMENU CreatePopupMenuOf(std::initializer_list<MenuItem> items);
// Shows the menu at a screen point and returns the chosen command, or 0.
UINT TrackMenu(HWND owner, HMENU menu, POINT at);
