#pragma once
// What the informer's list shows: the texts of one item and the window's size rules.
#include <array>
#include <cstddef>
#include <string>

#include "engine/formats.h"

// The outer height for n items: 17 px an item plus 50 for the caption, the header and the frame.
int InformerHeight(std::size_t items);

// The outer width: the four columns' widths plus 13 px of frame.
int InformerWidth(const std::array<int, 4>& columnWidths);

// An item's caption and its three sub-items: the row's title, traffic, sum and speed. The
// sub-items lose the blanks that pad them on the main window's panel, where they overwrite
// longer texts; in a centred column those blanks would push the text out of sight.
std::array<std::string, 4> ItemTexts(const infos& row);
