#pragma once
// Windows on the monitor they stand on: never taller than its work area (the screen less the
// taskbar), and wholly on it.
struct ScreenRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const ScreenRect& o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

// `window` with its height capped at the work area's and moved (up and left first) so that it
// lies on the work area; its width is kept unless it is wider than the work area.
inline ScreenRect FitToWorkArea(ScreenRect window, const ScreenRect& work)
{
    const int width = window.Width() < work.Width() ? window.Width() : work.Width();
    const int height = window.Height() < work.Height() ? window.Height() : work.Height();
    int left = window.Left, top = window.Top;
    if (left + width > work.Right)
        left = work.Right - width;
    if (top + height > work.Bottom)
        top = work.Bottom - height;
    if (left < work.Left)
        left = work.Left;
    if (top < work.Top)
        top = work.Top;
    return ScreenRect{left, top, left + width, top + height};
}

// Positions and sizes are designed for 96 dots per inch; on a scaled screen they grow with it.
constexpr int DesignDpi = 96;
inline int ScaleByDpi(int value, int dpi)
{
    const long long scaled = static_cast<long long>(value) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + DesignDpi / 2) / DesignDpi : -((-scaled + DesignDpi / 2) / DesignDpi));
}
// The reverse, for values the program keeps at 96 dpi (the informer's column widths).
inline int UnscaleByDpi(int value, int dpi)
{
    if (dpi <= 0)
        return value;
    const long long design = static_cast<long long>(value) * DesignDpi;
    return static_cast<int>(design >= 0 ? (design + dpi / 2) / dpi : -((-design + dpi / 2) / dpi));
}
