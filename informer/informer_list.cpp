#include "informer/informer_list.h"

#include "engine/state_files.h"

int InformerHeight(std::size_t items) { return static_cast<int>(17 * items + 50); }

int InformerWidth(const std::array<int, 4>& columnWidths)
{
    return columnWidths[0] + columnWidths[1] + columnWidths[2] + columnWidths[3] + 13;
}

std::array<std::string, 4> ItemTexts(const infos& row)
{
    return {row.Title, TrimBlanks(row.Traffic), TrimBlanks(row.Sum), TrimBlanks(row.Speed)};
}
