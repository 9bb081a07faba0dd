#include "platform/dpi_win.h"

#include "platform/screen_area.h"

const wchar_t* const InterfaceFace = L"Tahoma";

namespace {
template <typename Function>
Function* Resolve(const wchar_t* module, const char* name)
{
    HMODULE handle = GetModuleHandleW(module);
    // shcore is not loaded by itself; only the system's copy is taken (Windows 8.1 and later,
    // which have it, know the flag; on Windows 7 the call fails and the fallback is used).
    if (!handle)
        handle = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return handle ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

// Windows 10 1607.
using GetDpiForWindowFunction = UINT WINAPI(HWND);
using AdjustWindowRectExForDpiFunction = BOOL WINAPI(LPRECT, DWORD, BOOL, DWORD, UINT);
// Windows 8.1, shcore.dll: MDT_EFFECTIVE_DPI is 0.
using GetDpiForMonitorFunction = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);
}  // namespace

int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : DesignDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : DesignDpi;
}

int WindowDpi(HWND window)
{
    static auto* forWindow = Resolve<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    if (forWindow && window) {
        if (UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    }
    static auto* forMonitor = Resolve<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
    if (forMonitor && window) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && y)
            return static_cast<int>(y);
    }
    return SystemDpi();
}

void AdjustWindowRectToDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi)
{
    static auto* forDpi = Resolve<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

HFONT CreateScaledFont(int pixels, int dpi, bool bold, const wchar_t* face)
{
    return CreateFontW(-ScaleByDpi(pixels, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}
