#include "engine/day_records.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const Date Today{2026, 12, 6};
const Date Yesterday{2026, 12, 5};

struct Sampler {
    DayRecordArray history;
    int32_t segments = 0;
    void Sample(std::vector<IfRow> rows, Date day = Today) { SampleAndUpdate(history, segments, day, rows); }
    void Sample(uint32_t in, uint32_t out, Date day = Today) { Sample({{"eth0", in, out}}, day); }
};

struct Expected {
    uint32_t in, out;
    int32_t segment;
};

void ExpectRecords(const DayRecordArray& history, const std::vector<Expected>& expected)
{
    ASSERT_EQ(history.HistoryCount(), static_cast<int32_t>(expected.size()));
    for (int32_t i = 1; i <= history.HistoryCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(history[i].InOctets, expected[i - 1].in);
        EXPECT_EQ(history[i].OutOctets, expected[i - 1].out);
        EXPECT_EQ(history[i].Segment, expected[i - 1].segment);
    }
}

TEST(SampleAndUpdate, WorkedSequenceClosesTheRecordWhenCountersDrop)
{
    Sampler s;
    s.Sample(100, 50);
    s.Sample(150, 70);
    s.Sample(20, 10);
    ExpectRecords(s.history, {{150, 70, 1}, {20, 10, 0}});
    EXPECT_EQ(s.history[2].Name, "eth0");
    EXPECT_EQ(s.history[2].RecordDate(), Today);
}

TEST(SampleAndUpdate, CounterMovements)
{
    struct Case {
        const char* what;
        std::vector<std::pair<uint32_t, uint32_t>> samples;
        std::vector<Expected> records;
    };
    const Case cases[] = {
        {"first sight", {{7, 9}}, {{7, 9, 0}}},
        {"growth overwrites", {{1, 1}, {5, 6}, {4294967295u, 4294967295u}}, {{4294967295u, 4294967295u, 0}}},
        {"equal counters are no drop", {{5, 5}, {5, 5}}, {{5, 5, 0}}},
        {"both drop", {{9, 9}, {1, 1}}, {{9, 9, 1}, {1, 1, 0}}},
        {"inbound wraps, outbound grows", {{4000000000u, 10}, {5, 20}}, {{4000000000u, 10, 1}, {5, 20, 0}}},
        {"two drops", {{9, 9}, {1, 1}, {0, 0}}, {{9, 9, 1}, {1, 1, 2}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sampler s;
        for (auto [in, out] : c.samples)
            s.Sample(in, out);
        ExpectRecords(s.history, c.records);
    }
}

TEST(SampleAndUpdate, RowsSharingADescriptionAreMergedWithinASample)
{
    Sampler s;
    // Wine lists an interface twice after it was deleted and made again.
    s.Sample({{"eth0", 100, 10}, {"eth0", 5, 50}});
    s.Sample({{"eth0", 110, 12}, {"eth0", 6, 60}});
    ExpectRecords(s.history, {{110, 60, 0}});
    EXPECT_EQ(s.segments, 0);
}

TEST(SampleAndUpdate, ConnectionsAreKeptApartByExactName)
{
    Sampler s;
    s.Sample({{"eth0", 1, 1}, {"ETH0", 2, 2}, {"eth0 ", 3, 3}});
    ExpectRecords(s.history, {{1, 1, 0}, {2, 2, 0}, {3, 3, 0}});
}

TEST(SampleAndUpdate, ARunPastMidnightKeepsItsStartDateAndANewDayStartsAfresh)
{
    Sampler s;
    s.Sample(100, 100, Yesterday);
    s.Sample(200, 200, Yesterday);  // after midnight, the run's start date still counts
    ExpectRecords(s.history, {{200, 200, 0}});
    s.Sample(300, 300, Today);  // the next start: a new record, the old one stays open for good
    ExpectRecords(s.history, {{200, 200, 0}, {300, 300, 0}});
    EXPECT_EQ(s.history[1].RecordDate(), Yesterday);
    EXPECT_EQ(s.history[2].RecordDate(), Today);
}

TEST(SampleAndUpdate, RecordsAppendedInAScanAreNotVisitedAgain)
{
    // Two open records of one name and day, as a hand-edited or merged file may hold.
    Sampler s;
    for (uint32_t v : {100u, 50u}) {
        DayRecord& r = s.history.Append("eth0");
        r.Year = Today.Year, r.Month = Today.Month, r.Day = Today.Day;
        r.InOctets = r.OutOctets = v;
    }
    s.Sample(80, 80);
    ExpectRecords(s.history, {{100, 100, 1}, {80, 80, 0}, {80, 80, 0}});
}

TEST(DayRecordArray, GrowsInStepsOfAThousandSlots)
{
    DayRecordArray history;
    EXPECT_EQ(history.Slots(), 0u);
    history.Append("eth0");
    EXPECT_EQ(history.Slots(), 1000u);  // records 1..999
    for (int i = 2; i <= 999; ++i)
        history.Append("eth0");
    EXPECT_EQ(history.Slots(), 1000u);
    history.Append("eth0");
    EXPECT_EQ(history.HistoryCount(), 1000);
    EXPECT_EQ(history.Slots(), 2000u);
}

TEST(DayRecordArray, KeepsEachNameOnceAndConnectionsInOrderOfTheirFirstRecords)
{
    DayRecordArray history;
    for (const char* name : {"ppp0", "eth0", "ppp0", "", "eth0"})
        history.Append(name);
    EXPECT_EQ(&history[1].Name.str(), &history[3].Name.str());
    EXPECT_EQ(history[1].Name, history[3].Name);
    EXPECT_NE(history[1].Name, history[2].Name);
    ASSERT_EQ(history.ConnectionCount(), 3);
    const int32_t firsts[] = {1, 2, 4};
    const char* names[] = {"ppp0", "eth0", ""};
    for (int32_t c = 0; c < 3; ++c) {
        EXPECT_EQ(history.FirstRecord(c), firsts[c]);
        EXPECT_EQ(history.ConnectionNameOf(c), names[c]);
    }
}

TEST(DayRecordArray, SumsFollowSamplingAndTheDayAskedFor)
{
    Sampler s;
    const uint64_t big = 4294967295u;
    // Loaded: a closed and an open record of yesterday, an open one of today.
    for (auto [day, segment, in] : {std::tuple<Date, int32_t, uint32_t>{Yesterday, 1, 4294967295u},
                                    {Yesterday, 0, 10},
                                    {Today, 0, 100}}) {
        DayRecord& r = s.history.Append("eth0");
        r.Year = day.Year, r.Month = day.Month, r.Day = day.Day, r.Segment = segment, r.InOctets = in;
    }
    auto expectSums = [&](Date day, uint64_t todayIn, uint64_t allIn) {
        TrafficSums sums = s.history.Sums(0, day);
        EXPECT_EQ(sums.TodayIn, todayIn);
        EXPECT_EQ(sums.AllIn, allIn);
    };
    expectSums(Today, 100, big + 110);
    s.Sample(150, 0);  // the open record of today follows
    expectSums(Today, 150, big + 160);
    s.Sample(20, 0);  // closed at 150, a new open one from 20
    expectSums(Today, 170, big + 180);
    expectSums(Yesterday, big + 10, big + 180);
    s.Sample(30, 0, Yesterday);  // yesterday's open record follows now
    expectSums(Yesterday, big + 30, big + 200);
}

TEST(TariffArray, FindsTheFirstOfDuplicatesAndNeverHoldsMoreThan254)
{
    TariffArray tariffs;
    EXPECT_EQ(tariffs.Find("a"), 0);
    EXPECT_EQ(tariffs.FindOrAdd("a"), 1);
    EXPECT_EQ(tariffs[1].Alias, "a");
    EXPECT_EQ(tariffs[1].PriceIn, 0);
    tariffs.Add("a", "second");
    EXPECT_EQ(tariffs.Find("a"), 1);
    EXPECT_EQ(tariffs.FindOrAdd("A"), 3);

    while (!tariffs.Full())
        tariffs.Add("x" + std::to_string(tariffs.TariffCount()), "");
    EXPECT_EQ(tariffs.TariffCount(), 254);
    EXPECT_EQ(tariffs.FindOrAdd("new"), 0);
    EXPECT_EQ(tariffs.Add("new", "new"), 0);
    EXPECT_EQ(tariffs.TariffCount(), 254);
    EXPECT_EQ(tariffs.FindOrAdd("a"), 1);
}

}  // namespace
