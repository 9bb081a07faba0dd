#include "informer/chooser.h"

#include <stdexcept>

#include "engine/state_files.h"
#include "platform/file_store.h"

std::vector<ChooserItem> ChooserItems(std::string_view priceText)
{
    std::vector<ChooserItem> items;
    for (const std::string& line : SplitLines(priceText))
        items.push_back({line.substr(0, line.find('|')), true});
    return items;
}

void UncheckHidden(std::vector<ChooserItem>& items, std::string_view hiddenText)
{
    for (const std::string& line : SplitLines(hiddenText))
        for (ChooserItem& item : items)
            if (item.Name == line)
                item.Checked = false;
}

std::string HiddenConnectionsText(const std::vector<ChooserItem>& items)
{
    std::string text;
    for (const ChooserItem& item : items)
        if (!item.Checked)
            text += item.Name + "\r\n";
    return text;
}

std::string ReadChooserFile(const std::filesystem::path& file, bool missingIsEmpty)
{
    std::string text;
    if (ReadWholeFile(file, text))
        return text;
    std::error_code ec;
    if (missingIsEmpty && !std::filesystem::exists(file, ec) && !ec)
        return {};
    throw std::runtime_error("Не удалось открыть файл " + file.filename().string());
}
