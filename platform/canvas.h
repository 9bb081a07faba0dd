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

// Measures on another canvas and draws nothing: the drawing pass of a hidden window, which
// keeps every effect of the pass (the width rule measures its texts) without painting.
class MeasuringCanvas : public Canvas {
public:
    explicit MeasuringCanvas(Canvas& measured) : measured_(measured) {}
    void SetFontSize(int points) override { measured_.SetFontSize(points); }
    void SetFontColor(Color) override {}
    void SetFontBold(bool bold) override { measured_.SetFontBold(bold); }
    void PutText(int, int, const std::string&, bool) override {}
    int TextWidth(const std::string& text) override { return measured_.TextWidth(text); }

private:
    Canvas& measured_;
};
