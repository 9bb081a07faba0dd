#pragma once
// The drawing pass of the main window: one block of figures per connection, drawn as text on
// the panel's bitmap, and one informer line per drawn connection.
#include <filesystem>
#include <string>

#include "engine/engine.h"
#include "platform/canvas.h"
#include "platform/screen_area.h"

// What the pass needs of the main window around the bitmap.
class PanelHost {
public:
    virtual ~PanelHost() = default;
    virtual Canvas& PanelCanvas() = 0;
    virtual void SizeBitmapToPanel() = 0;
    virtual int PanelHeight() = 0;
    // Sets the window's outer height, sizes the bitmap to the new panel and lets pending
    // messages run, so the layout takes effect before drawing goes on.
    virtual void GrowWindow(int outerHeight) = 0;
    virtual int OuterWidth() = 0;
    virtual void SetOuterWidth(int width) = 0;
    virtual Color DesktopColor() = 0;  // the system colour of the desktop, read at drawing time
    // The DPI the panel is drawn at: every position and step below grows with it. The canvas
    // gives its point-sized font at the same DPI.
    virtual int PanelDpi() { return DesignDpi; }
    // The first `count` characters of user text (a double-byte code page has characters of two bytes).
    virtual std::string FirstCharacters(const std::string& userText, std::size_t count)
    {
        return userText.substr(0, count);
    }
};

// Positions at 96 dpi.
struct PanelStyle {
    static constexpr int PanelX = 70;
    static constexpr int FirstBlockTop = 4;
    static constexpr int LineStep = 18;
    static constexpr int BlockGap = 24;
    static constexpr Color Blue = RgbColor(0, 0, 255);
    static constexpr Color Black = RgbColor(0, 0, 0);
    static constexpr Color Red = RgbColor(255, 0, 0);
};

extern const char* const TodayCaption;  // "Сегодня"
extern const char* const AllDaysCaption;  // "Всего"

// Draws every connection (or only ShowName), fills engine.InformerRows and FirstConnection,
// and leaves each drawn block's top in BlockTop of the connection's first record.
// `folder` holds "nast_o.txt".
void DrawPanel(Engine& engine, PanelHost& host, char decimalSeparator, const std::filesystem::path& folder);

// The speed column, in kilobits per second.
std::string SpeedText(double kilobitsPerSecond, char decimalSeparator);

// The right-click hit test: the connection whose block top is the nearest at or above y;
// FirstConnection above the first block or with nothing drawn.
std::string HitTest(const DayRecordArray& history, const std::string& firstConnection, int y);
