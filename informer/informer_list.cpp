#include "informer/informer_list.h"

#include "engine/state_files.h"
#include "platform/screen_area.h"

int InformerHeight(std::size_t items, int rowHeight, int chromeHeight)
{
    return static_cast<int>(static_cast<std::size_t>(rowHeight) * items) + chromeHeight;
}

int InformerWidth(const std::array<int, 4>& columnWidths, int dpi)
{
    return columnWidths[0] + columnWidths[1] + columnWidths[2] + columnWidths[3] + ScaleByDpi(13, dpi);
}

std::array<std::string, 4> ItemTexts(const infos& row)
{
    return {row.Title, TrimBlanks(row.Traffic), TrimBlanks(row.Sum), TrimBlanks(row.Speed)};
}
