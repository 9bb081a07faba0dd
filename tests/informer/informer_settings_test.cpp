// "vrn15.ini": the informer's five settings and its window placement.
#include "informer/informer_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>

#include "informer/placement.h"
#include "tests/informer/fake_profile_store.h"

namespace {

TEST(ParseIniInteger, DecimalOrHexAfter0x)
{
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"150", 150},
        {"+7", 7},
        {"-5", -5},
        {"0x20", 32},
        {"0X1f", 31},
        {"0xFFFFFFFF", -1},
        {"2147483647", std::numeric_limits<int32_t>::max()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"2147483648", std::nullopt},
        {"0x100000000", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {" 5", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"0xg", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseIniInteger(c.text), c.value);
    }
}

TEST(ReadInformerSettings, StoredValuesAsStoredAndDesignValuesOtherwise)
{
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> stored;
        std::array<int32_t, 4> widths;
        int opacity;
    };
    const Case cases[] = {
        {"missing file", {}, {100, 90, 75, 75}, 150},
        {"all stored",
         {{"TNAME", "120"}, {"TTRAF", "0"}, {"TSUM", "60"}, {"TSPD", "0"}, {"TPRZ", "0"}},
         {120, 0, 60, 0},
         0},
        {"low 8 bits", {{"TPRZ", "300"}}, {100, 90, 75, 75}, 44},
        {"hex", {{"TPRZ", "0x20"}, {"TNAME", "0X40"}}, {64, 90, 75, 75}, 32},
        {"negative opacity wraps", {{"TPRZ", "-1"}}, {100, 90, 75, 75}, 255},
        {"not a number", {{"TPRZ", "abc"}, {"TTRAF", "wide"}}, {100, 90, 75, 75}, 150},
        {"empty value", {{"TPRZ", ""}}, {100, 90, 75, 75}, 150},
        {"negative width", {{"TSUM", "-2"}}, {100, 90, 0, 75}, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeProfileStore store;
        for (const auto& [key, value] : c.stored)
            store.Set("SIZEPOL", key, value);
        InformerSettings settings = ReadInformerSettings(store, "vrn15.ini");
        EXPECT_EQ(settings.Widths, c.widths);
        EXPECT_EQ(settings.Opacity, c.opacity);
    }
}

TEST(WriteInformerSettings, FiveDecimalValuesInOrder)
{
    FakeProfileStore store;
    InformerSettings settings;
    settings.Widths = {120, 0, 75, 300};
    settings.Opacity = 7;
    WriteInformerSettings(store, "vrn15.ini", settings);
    EXPECT_EQ(store.writes, (std::vector<std::string>{"SIZEPOL/TNAME=120", "SIZEPOL/TTRAF=0", "SIZEPOL/TSUM=75",
                                                       "SIZEPOL/TSPD=300", "SIZEPOL/TPRZ=7"}));
    EXPECT_EQ(ReadInformerSettings(store, "vrn15.ini").Widths, settings.Widths);

    store.readOnly = true;
    EXPECT_THROW(WriteInformerSettings(store, "vrn15.ini", settings), std::runtime_error);
}

TEST(ShownOpacity, AnInvisibleInformerIsRaisedToTenPercent)
{
    EXPECT_EQ(ShownOpacity(0), 26);
    EXPECT_EQ(ShownOpacity(25), 26);
    EXPECT_EQ(ShownOpacity(26), 26);
    EXPECT_EQ(ShownOpacity(150), 150);
    EXPECT_EQ(ShownOpacity(255), 255);
}

TEST(SettingsFileToRead, TheEarlierVersionsFileOnlyWhileTheWorkingOneIsMissing)
{
    auto root = std::filesystem::temp_directory_path() / "vornik-settings-test";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "work");
    std::filesystem::create_directories(root / "windows");
    const auto work = root / "work" / "vrn15.ini";
    const auto legacy = root / "windows" / "vrn15.ini";

    EXPECT_EQ(SettingsFileToRead(work, legacy), work);  // neither: the design values, later saved here
    std::ofstream(legacy) << "[SIZEPOL]\n";
    EXPECT_EQ(SettingsFileToRead(work, legacy), legacy);
    std::ofstream(work) << "[SIZEPOL]\n";
    EXPECT_EQ(SettingsFileToRead(work, legacy), work);
    std::filesystem::remove_all(root);
}

TEST(Placement, WritesEveryKeyInOrder)
{
    FakeProfileStore store;
    Placement p;
    p.Flags = 0;
    p.ShowCmd = 1;
    p.Left = 10;
    p.Top = 20;
    p.Right = 363;
    p.Bottom = 138;
    WritePlacement(store, "vrn15.ini", p, 96, true);
    EXPECT_EQ(store.writes,
              (std::vector<std::string>{"TForm2/FormVersion=0", "TForm2/Flags=0", "TForm2/ShowCmd=1",
                                        "TForm2/PixelsPerInch=96", "TForm2/MinMaxPos=-1,-1,-1,-1",
                                        "TForm2/NormPos=10,20,363,138", "TForm2/Visible=1"}));
}

TEST(Placement, ARestoreMovesTheWindowAndKeepsItsSize)
{
    Placement current;
    current.Left = 0;
    current.Top = 0;
    current.Right = 353;
    current.Bottom = 118;
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> stored;
        bool taken;
        int32_t left, top, width, showCmd, minX;
    };
    const Case cases[] = {
        {"nothing stored", {}, true, 0, 0, 353, 1, -1},
        {"position", {{"NormPos", "200,150,210,160"}, {"PixelsPerInch", "96"}}, true, 200, 150, 353, 1, -1},
        {"no pixels per inch", {{"NormPos", "200,150,210,160"}}, true, 200, 150, 353, 1, -1},
        {"another screen", {{"NormPos", "200,150,210,160"}, {"PixelsPerInch", "120"}, {"ShowCmd", "3"}}, true, 0, 0,
         353, 3, -1},
        {"min and max only", {{"MinMaxPos", "5,6,7,8"}}, true, 0, 0, 353, 1, 5},
        {"a field not a number", {{"NormPos", "40,x"}}, true, 40, 0, 353, 1, -1},
        {"a later version", {{"FormVersion", "-1"}, {"NormPos", "200,150,1,1"}, {"ShowCmd", "3"}}, false, 0, 0, 353,
         1, -1},
        // A hand-edited edge of the range: the right edge stops there instead of wrapping.
        {"at the end of the range", {{"NormPos", "2147483647,-2147483648"}}, true, 2147483647, -2147483647 - 1, 0, 1,
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeProfileStore store;
        for (const auto& [key, value] : c.stored)
            store.Set("TForm2", key, value);
        Placement p = current;
        EXPECT_EQ(ReadPlacement(store, "vrn15.ini", 96, p), c.taken);
        EXPECT_EQ(p.Left, c.left);
        EXPECT_EQ(p.Top, c.top);
        EXPECT_EQ(int64_t{p.Right} - p.Left, c.width);
        EXPECT_EQ(int64_t{p.Bottom} - p.Top, 118);
        EXPECT_EQ(p.ShowCmd, c.showCmd);
        EXPECT_EQ(p.MinX, c.minX);
    }
}

}  // namespace
