#include "engine/state_files.h"

#include <gtest/gtest.h>

namespace {

// A record's fields as plain values; the table gives a record its name when appending it.
struct RecordFields {
    uint16_t Day, Month, Year;
    int32_t Segment;
    uint32_t InOctets, OutOctets;
    std::string Name;
    Date RecordDate() const { return Date{Year, Month, Day}; }
};

RecordFields Record(uint16_t d, uint16_t m, uint16_t y, int32_t segment, uint32_t in, uint32_t out, std::string name)
{
    return RecordFields{d, m, y, segment, in, out, std::move(name)};
}

void Add(DayRecordArray& history, const RecordFields& f)
{
    DayRecord& r = history.Append(f.Name);
    r.Day = f.Day, r.Month = f.Month, r.Year = f.Year, r.Segment = f.Segment, r.InOctets = f.InOctets,
    r.OutOctets = f.OutOctets;
}

TEST(HistoryFile, WritesTheExactLineForms)
{
    DayRecordArray history;
    Add(history, Record(6, 12, 2026, 0, 123456, 7890, "Realtek PCIe GbE"));
    Add(history, Record(31, 1, 2027, 3, 0, 4294967295u, " odd\tname "));
    EXPECT_EQ(WriteHistoryText(history, "", 800),
              "SHOW=\r\n"
              "form1.width=800\r\n"
              "6.12.2026-0\t123456    \t7890      \tRealtek PCIe GbE\r\n"
              "31.1.2027-3\t0         \t4294967295\t odd\tname \r\n");
    EXPECT_EQ(WriteHistoryText(DayRecordArray(), "Modem", -5), "SHOW=Modem\r\nform1.width=-5\r\n");
}

TEST(HistoryFile, RoundTripsTheWholeCounterRange)
{
    DayRecordArray history;
    const uint32_t counters[] = {0, 1, 2147483647u, 2147483648u, 4294967294u, 4294967295u};
    int32_t segment = 0;
    for (uint32_t in : counters) {
        for (uint32_t out : counters) {
            Add(history, Record(1 + segment % 28, 1 + segment % 12, 2026, segment, in, out,
                                "conn " + std::to_string(segment % 3)));
            ++segment;
        }
    }
    std::string text = WriteHistoryText(history, "conn 1", 1024);

    DayRecordArray back;
    HistorySettings settings = ReadHistoryText(text, back);
    EXPECT_EQ(settings.ShowName, "conn 1");
    EXPECT_EQ(settings.Width, 1024);
    ASSERT_EQ(back.HistoryCount(), history.HistoryCount());
    for (int32_t i = 1; i <= history.HistoryCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back[i].InOctets, history[i].InOctets);
        EXPECT_EQ(back[i].OutOctets, history[i].OutOctets);
        EXPECT_EQ(back[i].Segment, history[i].Segment);
        EXPECT_EQ(back[i].RecordDate(), history[i].RecordDate());
        EXPECT_EQ(back[i].Name, history[i].Name);
    }
    EXPECT_EQ(WriteHistoryText(back, settings.ShowName, 1024), text);
}

// A long history is made a piece at a time: no record is lost or repeated where one piece
// ends and the next begins.
TEST(HistoryFile, ALongHistoryReadsBackRecordForRecord)
{
    DayRecordArray history;
    const int32_t count = 40000;  // more than two pieces
    for (int32_t i = 0; i < count; ++i)
        Add(history, Record(1 + i % 28, 1 + i % 12, static_cast<uint16_t>(2000 + i % 30), i,
                            static_cast<uint32_t>(i) * 7919u, static_cast<uint32_t>(count - i),
                            "conn " + std::to_string(i % 10)));
    DayRecordArray back;
    ReadHistoryText(WriteHistoryText(history, "", 800), back);
    ASSERT_EQ(back.HistoryCount(), count);
    for (int32_t i = 1; i <= count; ++i) {
        ASSERT_EQ(back[i].Segment, history[i].Segment) << i;
        ASSERT_EQ(back[i].InOctets, history[i].InOctets) << i;
        ASSERT_EQ(back[i].OutOctets, history[i].OutOctets) << i;
        ASSERT_EQ(back[i].Name, history[i].Name) << i;
    }
}

TEST(HistoryFile, ReaderEdgeCases)
{
    struct Case {
        const char* line;
        RecordFields record;
    };
    const Case cases[] = {
        {"6.12.2026-0\t1000      \t2000      \tName", Record(6, 12, 2026, 0, 1000, 2000, "Name")},
        {"\t", Record(0, 0, 0, 0, 0, 0, "")},
        {"6.12\t2026-1\tname", Record(6, 1220261 & 0xFFFF, 0, 0, 0, 0, "")},  // a missing delimiter takes the rest
        {"6.12.2026-7\t4294967296\t99999999999\tbig", Record(6, 12, 2026, 7, 0, 0, "big")},
        {"70000.1.2026-2147483648\t1\t2\tn", Record(70000 & 0xFFFF, 1, 2026, 0, 1, 2, "n")},
        {"a6b.1 2.20x26-+1\t-5\t 7 \t  keeps blanks  ", Record(6, 12, 2026, 1, 5, 7, "  keeps blanks  ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DayRecordArray history;
        ReadHistoryText(c.line, history);
        ASSERT_EQ(history.HistoryCount(), 1);
        const DayRecord& r = history[1];
        EXPECT_EQ(r.RecordDate(), c.record.RecordDate());
        EXPECT_EQ(r.Segment, c.record.Segment);
        EXPECT_EQ(r.InOctets, c.record.InOctets);
        EXPECT_EQ(r.OutOctets, c.record.OutOctets);
        EXPECT_EQ(r.Name, c.record.Name);
    }
}

TEST(HistoryFile, SettingLines)
{
    struct Case {
        const char* text;
        const char* show;
        std::optional<int32_t> width;
    };
    const Case cases[] = {
        {"SHOW=\r\n", "", std::nullopt},
        {" SHOW = Modem \r\nform1.width= 640 \r\n", "Modem", 640},
        {"form1.width=abc\n", "", 500},
        {"form1.width=99999999999\n", "", 500},
        {"form1.width=-20\rSHOW=a\rSHOW=b\r", "b", -20},
        {"show=x\nSHOW\nother=1\n", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DayRecordArray history;
        HistorySettings s = ReadHistoryText(c.text, history);
        EXPECT_EQ(s.ShowName, c.show);
        EXPECT_EQ(s.Width, c.width);
        EXPECT_EQ(history.HistoryCount(), 0);
    }
}

// The file is read in blocks: a block may end anywhere, in a line or between the CR and the
// LF of a line end, and the table must come out as from the whole text.
TEST(HistoryFile, ReadInPiecesGivesWhatTheWholeTextGives)
{
    const std::string text = "SHOW=a\r\n6.12.2026-0\t1         \t2         \teth0\r\rjunk\n"
                             "form1.width=640\r\n7.12.2026-3\t4294967295\t0         \tppp0 \n\t\r\n"
                             "8.1.2027-0\t5\t6\tlast without an end";
    DayRecordArray whole;
    HistorySettings wholeSettings = ReadHistoryText(text, whole);
    const std::string expected = WriteHistoryText(whole, wholeSettings.ShowName, wholeSettings.Width.value_or(0));
    ASSERT_EQ(whole.HistoryCount(), 4);

    // As the block reader does: what a piece leaves comes again at the front of the next.
    for (std::size_t block = 1; block <= text.size(); ++block) {
        SCOPED_TRACE(block);
        DayRecordArray history;
        HistoryReader reader(history);
        std::string held;
        for (std::size_t at = 0; at < text.size(); at += block) {
            held += text.substr(at, block);
            held.erase(0, reader.Feed(held, false));
        }
        reader.Feed(held, true);
        EXPECT_EQ(WriteHistoryText(history, reader.Settings().ShowName, reader.Settings().Width.value_or(0)), expected);
    }
}

TEST(SplitLines, AnyLineEnd)
{
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitLines("\n"), std::vector<std::string>{""});
}

TEST(TariffFile, ReaderCases)
{
    struct Case {
        const char* line;
        bool loaded;
        const char* name;
        const char* alias;
        double in, out;
    };
    const Case cases[] = {
        // The name is kept as written: a connection named with blanks at an end finds its entry.
        {"  Modem  |  My modem  >1,5@2", true, "  Modem  ", "My modem", 1.5, 2},
        {"Modem|My>1.5@0,25", true, "Modem", "My", 1.5, 0.25},
        {"Modem|a>b@c>2@3", true, "Modem", "a>b@c", 2, 3},
        {"Modem|alias>x@", true, "Modem", "alias", 0, 0},
        {"Modem|alias", true, "Modem", "", 0, 0},
        {"Modem|@4", true, "Modem", "", 0, 4},
        {"Mo@dem|al>1E-5@ 7 ", true, "Mo@dem", "al", 0.00001, 7},
        {"Modem|alias>1@2\tx", false, "", "", 0, 0},
        {"no bar>1@2", false, "", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TariffArray tariffs;
        ReadTariffText(c.line, tariffs, ',');
        ASSERT_EQ(tariffs.TariffCount(), c.loaded ? 1 : 0);
        if (!c.loaded)
            continue;
        EXPECT_EQ(tariffs[1].Name, c.name);
        EXPECT_EQ(tariffs[1].Alias, c.alias);
        EXPECT_DOUBLE_EQ(tariffs[1].PriceIn, c.in);
        EXPECT_DOUBLE_EQ(tariffs[1].PriceOut, c.out);
    }
}

TEST(TariffFile, WritesAndReadsBackEveryEntryUnderEitherSeparator)
{
    TariffArray tariffs;
    tariffs[tariffs.Add("Modem", "My modem")].PriceIn = 1.5;
    int i = tariffs.Add("Modem", "dup > @ odd");
    tariffs[i].PriceIn = 0.00001;
    tariffs[i].PriceOut = 12;
    tariffs.Add("lo", "");
    tariffs[tariffs.Add(" Modem 2 ", "blanks")].PriceOut = 2.25;
    EXPECT_EQ(WriteTariffText(tariffs, ','),
              "Modem|My modem>1,5@0\r\nModem|dup > @ odd>1E-5@12\r\nlo|>0@0\r\n Modem 2 |blanks>0@2,25\r\n");

    // Also a regional separator other than "." and ",": what is written with it reads back.
    for (char sep : {',', '.', ';'}) {
        TariffArray back;
        ReadTariffText(WriteTariffText(tariffs, sep), back, sep);
        ASSERT_EQ(back.TariffCount(), 4);
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(back[k].Name, tariffs[k].Name);
            EXPECT_EQ(back[k].Alias, tariffs[k].Alias);
            EXPECT_EQ(back[k].PriceIn, tariffs[k].PriceIn);
            EXPECT_EQ(back[k].PriceOut, tariffs[k].PriceOut);
        }
    }
}

TEST(TariffFile, LoadsNoMoreThanTheTableHolds)
{
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += "c" + std::to_string(i) + "|a>1@2\r\n";
    TariffArray tariffs;
    ReadTariffText(text, tariffs, ',');
    EXPECT_EQ(tariffs.TariffCount(), 254);
    EXPECT_EQ(tariffs[254].Name, "c254");
}

}  // namespace
