#pragma once
// The canvas on a GDI bitmap: text cells drawn opaque on white, in the interface face at the
// window's DPI.
#include <windows.h>

#include "platform/canvas.h"

class GdiCanvas : public Canvas {
public:
    GdiCanvas();
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    // Resizes the bitmap; what was drawn stays where it fits, new area is white.
    void Resize(int width, int height);
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetDpi(int dpi);  // the point size is kept; the font grows with the DPI

    void SetFontSize(int points) override;
    void SetFontColor(Color color) override;
    void SetFontBold(bool bold) override;
    void PutText(int x, int y, const std::string& text, bool userText) override;
    int TextWidth(const std::string& text) override;

private:
    void SelectFont();
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    int width_ = 0, height_ = 0;
    int points_ = 10;
    int dpi_ = 96;
    bool bold_ = false;
};
