// The chooser's reload and save, and the texts and sizes of the informer's list.
#include "informer/chooser.h"

#include <gtest/gtest.h>

#include <fstream>

#include "informer/hidden_connections.h"
#include "informer/informer_list.h"

namespace {

std::string Marks(const std::vector<ChooserItem>& items)
{
    std::string text;
    for (const ChooserItem& item : items)
        text += (item.Checked ? "+" : "-") + item.Name + ";";
    return text;
}

TEST(Chooser, ReloadAndSaveAgree)
{
    struct Case {
        const char* name;
        const char* price;
        const char* hidden;
        const char* marks;  // the items in file order: + checked, - unchecked
        const char* saved;  // "nast_o.txt" saved without a change
    };
    const Case cases[] = {
        {"nothing hidden", "eth0|LAN>0@0\r\nlo|lo>0@0\r\n", "", "+eth0;+lo;", ""},
        {"one hidden", "eth0|LAN>0@0\r\nlo|lo>0@0\r\n", "lo\r\n", "+eth0;-lo;", "lo\r\n"},
        {"duplicates: one line hides both, both are written", "lo|a>0@0\r\nlo|b>0@0\r\n", "lo\r\n", "-lo;-lo;",
         "lo\r\nlo\r\n"},
        {"a name no longer in price.txt is dropped", "eth0|LAN>0@0\r\n", "ppp0\r\neth0\r\n", "-eth0;", "eth0\r\n"},
        {"letter case differs: still listed", "eth0|LAN>0@0\r\n", "ETH0\r\n", "+eth0;", ""},
        {"a trailing blank differs", "eth0|LAN>0@0\r\n", "eth0 \r\n", "+eth0;", ""},
        {"a line without | is a name", "Realtek PCIe\r\n", "Realtek PCIe\n", "-Realtek PCIe;", "Realtek PCIe\r\n"},
        {"only the first | ends the name", "a|b|c\r\n", "a\r\n", "-a;", "a\r\n"},
        {"empty price.txt", "", "eth0\r\n", "", ""},
        {"an empty line is an empty name", "\r\nlo\r\n", "\r\n", "-;+lo;", "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ChooserItem> items = ChooserItems(c.price);
        UncheckHidden(items, c.hidden);
        EXPECT_EQ(Marks(items), c.marks);
        EXPECT_EQ(HiddenConnectionsText(items), c.saved);
    }
}

TEST(Chooser, SavedChoicesHideFromTheInformer)
{
    std::vector<ChooserItem> items = ChooserItems("eth0|LAN>0@0\r\nlo|lo>0@0\r\nppp0\r\n");
    items[1].Checked = false;
    items[2].Checked = false;
    std::string saved = HiddenConnectionsText(items);
    EXPECT_EQ(saved, "lo\r\nppp0\r\n");

    auto folder = std::filesystem::temp_directory_path() / "vornik-chooser-test";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "nast_o.txt", std::ios::binary) << saved;
    EXPECT_EQ(InformerShows("eth0", folder), 1);
    EXPECT_EQ(InformerShows("lo", folder), 0);
    EXPECT_EQ(InformerShows("ppp0", folder), 0);

    for (ChooserItem& item : items)
        item.Checked = true;
    EXPECT_EQ(HiddenConnectionsText(items), "");  // all checked: a 0-byte file
    std::filesystem::remove_all(folder);
}

TEST(Chooser, ReadingItsFiles)
{
    auto folder = std::filesystem::temp_directory_path() / "vornik-chooser-read-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "nast_o.txt");  // a folder where the file belongs
    std::ofstream(folder / "price.txt", std::ios::binary) << "eth0\r\n";

    EXPECT_EQ(ReadChooserFile(folder / "price.txt", false), "eth0\r\n");
    EXPECT_EQ(ReadChooserFile(folder / "missing.txt", true), "");
    try {
        ReadChooserFile(folder / "missing.txt", false);
        ADD_FAILURE() << "no error for a missing file";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("missing.txt"), std::string::npos);
    }
    EXPECT_THROW(ReadChooserFile(folder / "nast_o.txt", true), std::runtime_error);  // there but unreadable
    std::filesystem::remove_all(folder);
}

TEST(InformerList, SizesAndTexts)
{
    EXPECT_EQ(InformerHeight(0), 50);
    EXPECT_EQ(InformerHeight(4), 118);
    EXPECT_EQ(InformerHeight(4, 26, 80), 184);
    EXPECT_EQ(InformerWidth({100, 90, 75, 75}), 353);
    EXPECT_EQ(InformerWidth({100, 0, 0, 0}), 113);

    infos row;
    row.Title = "LAN.   ";
    row.Traffic = "1 Mb 512 Kb";
    row.Sum = "0,00 руб.";
    row.Speed = " 1,5 Mbit/s" + std::string(92, ' ');
    std::array<std::string, 4> texts = ItemTexts(row);
    EXPECT_EQ(texts[0], "LAN.   ");  // the title as the panel made it
    EXPECT_EQ(texts[1], "1 Mb 512 Kb");
    EXPECT_EQ(texts[2], "0,00 руб.");
    EXPECT_EQ(texts[3], "1,5 Mbit/s");
}

}  // namespace
