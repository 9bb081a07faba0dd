#include "platform/canvas_win.h"

#include "platform/dpi_win.h"
#include "platform/text_win.h"

GdiCanvas::GdiCanvas()
{
    dpi_ = SystemDpi();
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, RGB(255, 255, 255));
    SelectFont();
}

GdiCanvas::~GdiCanvas()
{
    if (oldBitmap_)
        SelectObject(dc_, oldBitmap_);
    if (oldFont_)
        SelectObject(dc_, oldFont_);
    DeleteObject(bitmap_);
    DeleteObject(font_);
    DeleteDC(dc_);
}

void GdiCanvas::Resize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    HDC screen = GetDC(nullptr);
    HBITMAP bigger = CreateCompatibleBitmap(screen, width, height);
    HDC copy = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(copy, bigger);
    RECT all{0, 0, width, height};
    FillRect(copy, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (bitmap_)
        BitBlt(copy, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    SelectObject(copy, old);
    DeleteDC(copy);

    HGDIOBJ previous = SelectObject(dc_, bigger);
    if (!oldBitmap_)
        oldBitmap_ = previous;
    DeleteObject(bitmap_);
    bitmap_ = bigger;
    width_ = width;
    height_ = height;
}

void GdiCanvas::SelectFont()
{
    HFONT font = CreateFontW(-MulDiv(points_, dpi_, 72), 0, 0, 0, bold_ ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                             InterfaceFace);
    HGDIOBJ previous = SelectObject(dc_, font);
    if (!oldFont_)
        oldFont_ = previous;
    DeleteObject(font_);
    font_ = font;
}

void GdiCanvas::SetDpi(int dpi)
{
    if (dpi == dpi_ || dpi <= 0)
        return;
    dpi_ = dpi;
    SelectFont();
}

void GdiCanvas::SetFontSize(int points)
{
    if (points == points_)
        return;
    points_ = points;
    SelectFont();
}

void GdiCanvas::SetFontBold(bool bold)
{
    if (bold == bold_)
        return;
    bold_ = bold;
    SelectFont();
}

void GdiCanvas::SetFontColor(Color color) { SetTextColor(dc_, color); }

void GdiCanvas::PutText(int x, int y, const std::string& text, bool userText)
{
    std::wstring wide = userText ? UserText(text) : ProgramText(text);
    TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

int GdiCanvas::TextWidth(const std::string& text)
{
    std::wstring wide = ProgramText(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}
