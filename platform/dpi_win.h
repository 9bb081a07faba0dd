#pragma once
// The dots per inch a window is drawn at. Windows 7 knows one DPI for the whole system;
// Windows 8.1 and later one per monitor. Every function newer than Windows 7 is looked up at
// run time, so the program still starts there.
#include <windows.h>

int SystemDpi();
// The DPI of the window's monitor where Windows tells it, the system's otherwise.
int WindowDpi(HWND window);
// AdjustWindowRectEx at a given DPI (the frame of a per-monitor aware window follows its monitor).
void AdjustWindowRectToDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// A font of `pixels` height at 96 dpi, scaled to `dpi`, in the Russian character set.
HFONT CreateScaledFont(int pixels, int dpi, bool bold, const wchar_t* face);
// The face of the program's own text on every window: TrueType, with Cyrillic on a Windows of
// any language ("MS Sans Serif" is a raster font in the system's code page only).
extern const wchar_t* const InterfaceFace;  // "Tahoma"
