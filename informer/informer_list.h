#pragma once
// What the informer's list shows: the texts of one item and the window's size rules.
#include <array>
#include <cstddef>
#include <string>

#include "engine/formats.h"

// The outer height for n items: a row's height (17 px at 96 dpi) an item, plus the caption,
// the header and the frame as the window has them (50 px on the classic desktop at 96 dpi).
int InformerHeight(std::size_t items, int rowHeight = 17, int chromeHeight = 50);

// The outer width: the four columns' widths (as the list shows them) plus 13 px of frame at 96 dpi.
int InformerWidth(const std::array<int, 4>& columnWidths, int dpi = 96);

// An item's caption and its three sub-items: the row's title, traffic, sum and speed. The
// sub-items lose the blanks that pad them on the main window's panel, where they overwrite
// longer texts; in a centred column those blanks would push the text out of sight.
std::array<std::string, 4> ItemTexts(const infos& row);
