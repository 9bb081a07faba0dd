#include "mainwindow/panel.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/engine/fakes.h"

namespace {

struct Drawn {
    int x, y;
    std::string text;
    Color color;
    bool bold;
};

class RecordingCanvas : public Canvas {
public:
    std::vector<Drawn> texts;
    int size = 0;
    void SetFontSize(int points) override { size = points; }
    void SetFontColor(Color c) override { color_ = c; }
    void SetFontBold(bool b) override { bold_ = b; }
    void PutText(int x, int y, const std::string& text, bool) override { texts.push_back({x, y, text, color_, bold_}); }
    int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    const Drawn* At(int x, int y) const
    {
        for (auto it = texts.rbegin(); it != texts.rend(); ++it)
            if (it->x == x && it->y == y)
                return &*it;
        return nullptr;
    }
    std::string TextAt(int x, int y) const { return At(x, y) ? At(x, y)->text : "<nothing>"; }

private:
    Color color_ = 0;
    bool bold_ = false;
};

class FakeHost : public PanelHost {
public:
    RecordingCanvas canvas;
    int panelHeight = 123 - 60 - 21;
    int outerWidth = 798;
    std::vector<int> growth;
    Canvas& PanelCanvas() override { return canvas; }
    void SizeBitmapToPanel() override { canvas.texts.clear(); }
    int PanelHeight() override { return panelHeight; }
    void GrowWindow(int outerHeight) override
    {
        growth.push_back(outerHeight);
        panelHeight = outerHeight - 6 - 25 - 60 - 21;
    }
    int OuterWidth() override { return outerWidth; }
    void SetOuterWidth(int w) override { outerWidth = w; }
    Color DesktopColor() override { return RgbColor(1, 2, 3); }
};

const Date Today{2026, 12, 6};

struct PanelFixture : ::testing::Test {
    FakeIfTable table;
    Engine engine{table};
    FakeHost host;
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "vornik-panel-test";

    void SetUp() override
    {
        std::filesystem::create_directories(folder);
        std::filesystem::remove(folder / "nast_o.txt");
        engine.StartDate = Today;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Add(const std::string& name, uint32_t in, uint32_t out, Date date = Today, int32_t segment = 0)
    {
        DayRecord& r = engine.HistoryTable.Append(name);
        r.InOctets = in, r.OutOctets = out, r.Segment = segment;
        r.Year = date.Year, r.Month = date.Month, r.Day = date.Day;
    }
    void Pass()
    {
        engine.InformerRows.clear();
        DrawPanel(engine, host, ',', folder);
    }
};

TEST_F(PanelFixture, TwoBlocksWithEveryTextInItsColumn)
{
    Add("eth0", 1048576, 524288);
    Add("ppp0", 2048, 1024, Date{2026, 12, 5});
    Add("eth0", 1024, 0, Date{2026, 12, 5}, 1);
    int lan = engine.TariffTable.Add("eth0", "LAN");
    engine.TariffTable[lan].PriceIn = 1.5;
    engine.TariffTable[lan].PriceOut = 2;
    Pass();

    EXPECT_EQ(engine.HistoryTable[1].BlockTop, 4);
    EXPECT_EQ(engine.HistoryTable[2].BlockTop, 82);
    EXPECT_EQ(engine.HistoryTable[3].BlockTop, 0);
    EXPECT_EQ(engine.FirstConnection, "eth0");
    EXPECT_EQ(host.canvas.size, 10);

    const RecordingCanvas& c = host.canvas;
    ASSERT_NE(c.At(10, 4), nullptr);
    EXPECT_EQ(c.At(10, 4)->text, "LAN" + Blanks92);
    EXPECT_TRUE(c.At(10, 4)->bold);
    EXPECT_EQ(c.At(10, 4)->color, RgbColor(1, 2, 3));
    const char* headers[] = {"Отправлено", "Принято", "Всего", "Скорость", "Итого", "Цена Вход.", "Цена Исход."};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(c.TextAt(90 + 100 * k, 22), headers[k]);
        EXPECT_EQ(c.At(90 + 100 * k, 22)->color, PanelStyle::Blue);
    }
    struct Cell {
        int x, y;
        std::string text;
        Color color;
    };
    const Cell cells[] = {
        {10, 40, "Сегодня", PanelStyle::Blue},
        {90, 40, "512,0 Kb", PanelStyle::Black},
        {190, 40, "1024,0 Kb", PanelStyle::Black},
        {290, 40, "1 Mb 512 Kb" + Blanks92, PanelStyle::Black},
        {390, 40, " 0,0  Kbit/s", PanelStyle::Black},  // nothing sampled yet
        {490, 40, "2,50 руб.", PanelStyle::Red},
        {590, 40, "1,50 руб.", PanelStyle::Black},
        {690, 40, "2,00 руб.", PanelStyle::Black},
        {10, 58, "Всего", PanelStyle::Blue},
        {90, 58, "512,0 Kb", PanelStyle::Black},
        {190, 58, "1 Mb 1 Kb", PanelStyle::Black},
        {490, 58, "2,50 руб.", PanelStyle::Red},
        {10, 82, "ppp0", RgbColor(1, 2, 3)},
        {90, 118, "0,0 Kb", PanelStyle::Black},
        {390, 118, " 0,0  Kbit/s", PanelStyle::Black},
        {90, 136, "1,0 Kb", PanelStyle::Black},
        {490, 136, "0,00 руб.", PanelStyle::Red},
    };
    for (const Cell& cell : cells) {
        SCOPED_TRACE(cell.text);
        ASSERT_NE(c.At(cell.x, cell.y), nullptr);
        EXPECT_EQ(c.At(cell.x, cell.y)->text, cell.text);
        EXPECT_EQ(c.At(cell.x, cell.y)->color, cell.color);
    }
    EXPECT_EQ(c.At(390, 58), nullptr);  // the all-days row has no speed

    ASSERT_EQ(engine.InformerRows.size(), 2u);
    EXPECT_EQ(engine.InformerRows[0].Title, "LAN.   ");
    EXPECT_EQ(engine.InformerRows[0].Traffic, "1 Mb 512 Kb");
    EXPECT_EQ(engine.InformerRows[0].Sum, "2,50 руб.");
    EXPECT_EQ(engine.InformerRows[0].Speed, " 0,0  Kbit/s");
    EXPECT_EQ(engine.InformerRows[1].Conn, "ppp0");
    EXPECT_EQ(engine.TariffTable.Find("ppp0"), 2);  // appended by the pass, alias = name
    EXPECT_EQ(engine.TariffTable[2].Alias, "ppp0");
}

TEST_F(PanelFixture, SpeedShowsWhatTheLastSampleCounted)
{
    struct Step {
        uint64_t in, afterMs;
        Date day;
        std::string speed;
    };
    const Date tomorrow{2026, 12, 7};
    const Step steps[] = {
        {5'000'000, 0, Today, " 0,0  Kbit/s"},  // the first sample after a start: no spike
        {5'131'072, 1000, Today, " 1024,0  Kbit/s"},
        {5'262'145, 1000, Today, " 1,0 Mbit/s" + Blanks92},
        {100, 1000, Today, " 0,8  Kbit/s"},  // the counters started again: 100 octets since
        {228, 1000, tomorrow, " 1,0  Kbit/s"},  // midnight: the growth, not the new day's total
        {228, 1000, tomorrow, " 0,0  Kbit/s"},
        {2788, 20'000, tomorrow, " 1,0  Kbit/s"},  // back from sleep: over the seconds away
    };
    uint64_t now = 1000;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.in);
        now += s.afterMs;
        engine.StartDate = s.day;
        engine.Counters.Sample(engine.HistoryTable, engine.SegmentCounter, s.day, now, true, {{"eth0", s.in, 0, 1}});
        Pass();
        EXPECT_EQ(host.canvas.TextAt(390, 40), s.speed);
        EXPECT_EQ(engine.InformerRows[0].Speed, s.speed);
    }
}

// The pass of a hidden window: every effect of a drawn one, nothing drawn.
class MeasuringHost : public FakeHost {
public:
    MeasuringCanvas measuring{canvas};
    Canvas& PanelCanvas() override { return measuring; }
};

TEST_F(PanelFixture, AMeasuringPassHasEveryEffectOfADrawnOneAndDrawsNothing)
{
    Add("eth0", 1048576, 524288);
    Add("ppp0", 2048, 1024, Date{2026, 12, 5});
    Add("Realtek PCIe GbE Family Controller with a long description", 1, 1);
    engine.TariffTable[engine.TariffTable.Add("eth0", "LAN")].PriceOut = 123456.25;  // a wide price
    FakeIfTable otherTable;
    Engine other{otherTable};
    other.StartDate = Today;
    for (int32_t i = 1; i <= engine.HistoryTable.HistoryCount(); ++i) {
        const DayRecord& r = engine.HistoryTable[i];
        DayRecord& copy = other.HistoryTable.Append(r.Name.str());
        copy.InOctets = r.InOctets, copy.OutOctets = r.OutOctets, copy.Segment = r.Segment;
        copy.Year = r.Year, copy.Month = r.Month, copy.Day = r.Day;
    }
    other.TariffTable[other.TariffTable.Add("eth0", "LAN")].PriceOut = 123456.25;

    Pass();
    MeasuringHost hidden;
    DrawPanel(other, hidden, ',', folder);
    EXPECT_TRUE(hidden.canvas.texts.empty());
    EXPECT_EQ(hidden.outerWidth, host.outerWidth);
    EXPECT_EQ(hidden.growth, host.growth);
    EXPECT_EQ(other.FirstConnection, engine.FirstConnection);
    for (int32_t i = 1; i <= engine.HistoryTable.HistoryCount(); ++i)
        EXPECT_EQ(other.HistoryTable[i].BlockTop, engine.HistoryTable[i].BlockTop) << i;
    ASSERT_EQ(other.TariffTable.TariffCount(), engine.TariffTable.TariffCount());
    for (int i = 1; i <= engine.TariffTable.TariffCount(); ++i)
        EXPECT_EQ(other.TariffTable[i].Name, engine.TariffTable[i].Name);
    ASSERT_EQ(other.InformerRows.size(), engine.InformerRows.size());
    for (std::size_t k = 0; k < engine.InformerRows.size(); ++k) {
        EXPECT_EQ(other.InformerRows[k].Title, engine.InformerRows[k].Title);
        EXPECT_EQ(other.InformerRows[k].Traffic, engine.InformerRows[k].Traffic);
        EXPECT_EQ(other.InformerRows[k].Sum, engine.InformerRows[k].Sum);
        EXPECT_EQ(other.InformerRows[k].Speed, engine.InformerRows[k].Speed);
    }
}

TEST_F(PanelFixture, ShowNameDrawsOnlyThatConnection)
{
    Add("eth0", 1, 1);
    Add("ppp0", 2, 2);
    engine.ShowName = "ppp0";
    Pass();
    EXPECT_EQ(engine.HistoryTable[1].BlockTop, 0);
    EXPECT_EQ(engine.HistoryTable[2].BlockTop, 4);
    EXPECT_EQ(engine.FirstConnection, "eth0");
    ASSERT_EQ(engine.InformerRows.size(), 1u);
    EXPECT_EQ(engine.InformerRows[0].Conn, "ppp0");

    engine.ShowName = "gone";
    Pass();
    EXPECT_TRUE(engine.InformerRows.empty());
    EXPECT_EQ(engine.FirstConnection, "eth0");
}

TEST_F(PanelFixture, NothingDrawnWithoutRecords)
{
    Pass();
    EXPECT_TRUE(host.canvas.texts.empty());
    EXPECT_TRUE(engine.FirstConnection.empty());
    EXPECT_TRUE(engine.InformerRows.empty());
}

TEST_F(PanelFixture, TheWindowGrowsForEachBlockAndWidensForThePrices)
{
    Add("a", 1, 1);
    Add("b", 1, 1);
    host.outerWidth = 300;
    Pass();
    EXPECT_EQ(host.growth, (std::vector<int>{212, 290}));
    EXPECT_EQ(host.outerWidth, 6 * 9 + 70 + 620 + 40);  // "0,00 руб." in the fake's 6 px per byte
    host.outerWidth = 2000;
    Pass();
    EXPECT_EQ(host.outerWidth, 2000);  // never narrows
}

TEST_F(PanelFixture, EmptyAliasAndLongNames)
{
    Add("ppp0", 1, 1);
    Add("a connection with a long name", 1, 1);
    engine.TariffTable.Add("ppp0", "");
    Pass();
    EXPECT_EQ(host.canvas.TextAt(10, 4), Blanks92);
    EXPECT_EQ(engine.InformerRows[0].Title, ".   ");
    EXPECT_EQ(engine.InformerRows[1].Title, "a connection with.   ");
}

TEST_F(PanelFixture, SumsAboveFourGibibytesDoNotWrap)
{
    Add("eth0", 4294967295u, 0);
    Add("eth0", 4294967295u, 0, Today, 0);
    Add("eth0", 2u, 0, Date{2026, 12, 1}, 2);
    Pass();
    EXPECT_EQ(host.canvas.TextAt(190, 40), "8191 Mb 1023 Kb");
    EXPECT_EQ(host.canvas.TextAt(190, 58), "8192 Mb 0 Kb");
}

TEST_F(PanelFixture, HiddenConnectionsAreMarkedInTheirInformerRows)
{
    Add("eth0", 1, 1);
    Add("ppp0", 1, 1);
    std::ofstream(folder / "nast_o.txt", std::ios::binary) << "PPP0\r\nppp0\r\n";
    Pass();
    EXPECT_EQ(engine.InformerRows[0].Visible, 1);
    EXPECT_EQ(engine.InformerRows[1].Visible, 0);
}

TEST(HitTest, NearestBlockTopAtOrAboveTheClick)
{
    DayRecordArray history;
    for (auto [name, top] : {std::pair<const char*, int>{"first", 4}, {"other", 0}, {"second", 82}}) {
        history.Append(name).BlockTop = top;
    }
    struct Case {
        int y;
        const char* selected;
    };
    const Case cases[] = {{85, "second"}, {82, "second"}, {81, "first"}, {4, "first"}, {2, "default"}, {-5, "default"}};
    for (const Case& c : cases)
        EXPECT_EQ(HitTest(history, "default", c.y), c.selected) << c.y;
    EXPECT_EQ(HitTest(DayRecordArray(), "", 50), "");
}

}  // namespace
