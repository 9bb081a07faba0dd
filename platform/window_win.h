#pragma once
// The one way a form object is attached to its window: `this` is stored at WM_NCCREATE and
// every message is forwarded to HandleMessage. An exception thrown by a handler ends that
// handler and is shown as the application's error box.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

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
    // The DPI the window is laid out for, and a design (96 dpi) length at it.
    int Dpi() const { return dpi_; }
    int Scaled(int designPixels) const { return ScaleByDpi(designPixels, dpi_); }

protected:
    static void Register(const wchar_t* className, HICON icon, HBRUSH background, UINT style = 0);
    // The client size is given at 96 dpi; the window gets it scaled to its monitor's DPI.
    void CreateHandle(const wchar_t* className, const std::wstring& caption, DWORD style, DWORD exStyle,
                      int clientWidth, int clientHeight, HWND owner = nullptr);
    // The window moved to a monitor of another DPI (Dpi() is the new one): the window takes the
    // rectangle Windows suggests after this. By default the children move and grow with it.
    virtual void DpiChanged(int oldDpi);
    void CenterOnScreen();
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, message, wParam, lParam); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    int dpi_ = DesignDpi;
};

HINSTANCE ModuleInstance();

// The work area (the screen less the taskbar) of the monitor the window stands on, or nearest to.
ScreenRect MonitorWorkArea(HWND window);

// A small window that is created hidden, shown on demand and only hidden when closed. Its
// children are placed at 96 dpi through Scaled(); its fonts follow its DPI.
class HiddenWindow : public Window {
public:
    ~HiddenWindow() override;

protected:
    void CreateHidden(const wchar_t* className, const char* caption, int clientWidth, int clientHeight,
                      COLORREF background);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int oldDpi) override;
    // A font of `pixels` height at 96 dpi, owned by the window and made again at a new DPI.
    HFONT Font(int pixels, bool bold, const wchar_t* face);
    void SetFont(HWND control, HFONT font);

private:
    struct OwnedFont {
        int Pixels;
        bool Bold;
        const wchar_t* Face;
        HFONT Handle;
    };
    std::vector<OwnedFont> fonts_;
};

// A popup menu from (command, caption) pairs; a command of 0 is a separator.
struct MenuItem {
    UINT Command;
    const char* Caption;
};
HMENU CreatePopupMenuOf(std::initializer_list<MenuItem> items);
// Shows the menu at a screen point and returns the chosen command, or 0.
UINT TrackMenu(HWND owner, HMENU menu, POINT at);
