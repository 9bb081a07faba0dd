#pragma once
// A surface the drawing pass writes text on: opaque text cells on a white brush.
#include <cstdint>
#include <string>

using Color = uint32_t;  // 0x00BBGGRR, as Windows keeps colours
constexpr Color RgbColor(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (static_cast<Color>(b) << 16); }

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void SetFontSize(int points) = 0;
    virtual void SetFontColor(Color color) = 0;
    virtual void SetFontBold(bool bold) = 0;
    // The program's own texts are Windows-1251; connection names and aliases are user text,
    // in the system's ANSI code page.
    virtual void PutText(int x, int y, const std::string& text, bool userText = false) = 0;
    virtual int TextWidth(const std::string& text) = 0;
};
