#include "platform/screen_area.h"

#include <gtest/gtest.h>

namespace {

TEST(FitToWorkArea, CapsTheHeightAndMovesTheWindowOntoTheWorkArea)
{
    const ScreenRect large{0, 0, 1920, 1040};  // 1920 x 1080 less a 40-pixel taskbar
    const ScreenRect small{0, 0, 1366, 728};
    const ScreenRect second{1920, -200, 3200, 824};  // a monitor right of the first, higher up
    struct Case {
        const char* what;
        ScreenRect window, work, fitted;
    };
    const Case cases[] = {
        {"fits: unchanged", {564, 300, 1356, 902}, large, {564, 300, 1356, 902}},
        {"grew past the bottom: moves up", {564, 300, 1356, 1160}, large, {564, 180, 1356, 1040}},
        {"taller than the work area: capped", {287, 332, 1079, 1087}, small, {287, 0, 1079, 728}},
        {"the informer, 61 rows", {0, 0, 300, 17 * 61 + 50}, small, {0, 0, 300, 728}},
        {"left of the work area", {-50, 10, 250, 200}, small, {0, 10, 300, 200}},
        {"wider than the work area", {100, 10, 2100, 200}, small, {0, 10, 1366, 200}},
        {"on a second monitor", {2800, 700, 3300, 900}, second, {2700, 624, 3200, 824}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitToWorkArea(c.window, c.work), c.fitted) << c.what;
}

}  // namespace
