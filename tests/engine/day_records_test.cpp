#include "engine/day_records.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

const Date Today{2026, 12, 6};
const Date Yesterday{2026, 12, 5};

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

TEST(DayRecordArray, TrafficPastTheFieldsLimitFillsTheRecordAndGoesOnInNewOnes)
{
    const uint64_t gib = uint64_t(1) << 30;
    const uint32_t full = 4294967295u;
    DayRecordArray history;
    int32_t segments = 0;
    history.AddTraffic("eth0", Today, 0, 0, segments);           // opened with no traffic
    history.AddTraffic("eth0", Today, full - 5, 7, segments);    // fits exactly up to the top, less 5
    history.AddTraffic("eth0", Today, 5, 1, segments);           // reaches the top: still fits
    history.AddTraffic("eth0", Today, 9 * gib, 2, segments);     // 9 GiB more: the full one closes, two more fill
    const uint32_t rest = static_cast<uint32_t>(9 * gib - 2 * uint64_t(full));
    ExpectRecords(history, {{full, 10, 1}, {full, 0, 2}, {full, 0, 3}, {rest, 0, 0}});
    EXPECT_EQ(history.Sums(0, Today).TodayIn, uint64_t(full) + 9 * gib);
    EXPECT_EQ(history.Sums(0, Today).TodayOut, 10u);

    history.AddTraffic("eth0", Yesterday, 1, 1, segments);  // another day's open record, at the end
    history.CloseOpen("eth0", Today, segments);
    history.AddTraffic("eth0", Today, 3, 4, segments);
    ExpectRecords(history, {{full, 10, 1}, {full, 0, 2}, {full, 0, 3}, {rest, 0, 4}, {1, 1, 0}, {3, 4, 0}});
    EXPECT_EQ(history.LastRecordOf("eth0"), &history[6]);
    EXPECT_EQ(history.LastRecordOf("ppp0"), nullptr);
}

TEST(DayRecordArray, TheLastOfSeveralOpenRecordsOfADayCountsOn)
{
    // Two open records of one name and day, as a hand-edited or merged file may hold.
    DayRecordArray history;
    int32_t segments = 0;
    for (uint32_t v : {100u, 50u}) {
        DayRecord& r = history.Append("eth0");
        r.Year = Today.Year, r.Month = Today.Month, r.Day = Today.Day;
        r.InOctets = r.OutOctets = v;
    }
    history.AddTraffic("eth0", Today, 1, 2, segments);
    ExpectRecords(history, {{100, 100, 0}, {51, 52, 0}});
    history.CloseOpen("eth0", Today, segments);
    ExpectRecords(history, {{100, 100, 1}, {51, 52, 2}});
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

TEST(DayRecordArray, SumsFollowTheTrafficAndTheDayAskedFor)
{
    DayRecordArray history;
    int32_t segments = 0;
    const uint64_t big = 4294967295u;
    // Loaded: a closed and an open record of yesterday, an open one of today.
    for (auto [day, segment, in] : {std::tuple<Date, int32_t, uint32_t>{Yesterday, 1, 4294967295u},
                                    {Yesterday, 0, 10},
                                    {Today, 0, 100}}) {
        DayRecord& r = history.Append("eth0");
        r.Year = day.Year, r.Month = day.Month, r.Day = day.Day, r.Segment = segment, r.InOctets = in;
    }
    auto expectSums = [&](Date day, uint64_t todayIn, uint64_t allIn) {
        TrafficSums sums = history.Sums(0, day);
        EXPECT_EQ(sums.TodayIn, todayIn);
        EXPECT_EQ(sums.AllIn, allIn);
    };
    expectSums(Today, 100, big + 110);
    history.AddTraffic("eth0", Today, 50, 0, segments);
    expectSums(Today, 150, big + 160);
    history.CloseOpen("eth0", Today, segments);
    history.AddTraffic("eth0", Today, 20, 0, segments);
    expectSums(Today, 170, big + 180);
    expectSums(Yesterday, big + 10, big + 180);
    history.AddTraffic("eth0", Yesterday, 20, 0, segments);  // the clock set back: yesterday's open record
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
    // An exact name first, then one with blanks trimmed at both ends.
    tariffs.Add(" ppp0 ", "modem");
    tariffs.Add("ppp0", "exact");
    EXPECT_EQ(tariffs.Find("ppp0"), 5);
    EXPECT_EQ(tariffs.Find("ppp0  "), 4);
    EXPECT_EQ(tariffs.Find("\tppp0"), 4);
    EXPECT_EQ(tariffs.FindOrAdd("eth0 "), 6);

    while (!tariffs.Full())
        tariffs.Add("x" + std::to_string(tariffs.TariffCount()), "");
    EXPECT_EQ(tariffs.TariffCount(), 254);
    EXPECT_EQ(tariffs.FindOrAdd("new"), 0);
    EXPECT_EQ(tariffs.Add("new", "new"), 0);
    EXPECT_EQ(tariffs.TariffCount(), 254);
    EXPECT_EQ(tariffs.FindOrAdd("a"), 1);
}

}  // namespace
