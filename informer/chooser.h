#pragma once
// The connection chooser's files: "price.txt" names the connections it offers, "nast_o.txt"
// (which it alone writes) those hidden from the informer. Both live in the working folder,
// where the engine and the informer's display check read them.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct ChooserItem {
    std::string Name;
    bool Checked = true;  // listed in the informer
};

// One checked item per line of "price.txt", in file order: the line's part before its first
// "|", the whole line when it has none. Duplicates stay duplicates.
std::vector<ChooserItem> ChooserItems(std::string_view priceText);

// Unchecks every item whose name equals a line of "nast_o.txt", byte for byte.
void UncheckHidden(std::vector<ChooserItem>& items, std::string_view hiddenText);

// "nast_o.txt" as the chooser saves it: the unchecked names in the given (list) order, each
// followed by CR LF; nothing unchecked gives 0 bytes.
std::string HiddenConnectionsText(const std::vector<ChooserItem>& items);

// Reads a chooser file whole. A missing file is "" when `missingIsEmpty`; any other failure
// throws an error that names the file.
std::string ReadChooserFile(const std::filesystem::path& file, bool missingIsEmpty);
