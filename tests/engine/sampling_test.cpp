#include "engine/sampling.h"

#include <gtest/gtest.h>

#include "engine/state_files.h"

namespace {

const Date Today{2026, 12, 6};
const Date Tomorrow{2026, 12, 7};
const uint64_t Top32 = 4294967295u;

IfRow Row(const char* name, uint64_t in, uint64_t out, uint64_t identity = 1, uint64_t speed = 0)
{
    return IfRow{name, in, out, identity, speed, speed};
}

// One run of the program: its tables, its counting and a clock of uptime milliseconds.
struct ProgramRun {
    DayRecordArray history;
    int32_t segments = 0;
    Counting counting;
    uint64_t now = 50'000'000;
    Date day = Today;
    bool wide = false;

    void Sample(std::vector<IfRow> rows, uint64_t afterMs = 1000)
    {
        now += afterMs;
        counting.Sample(history, segments, day, now, wide, rows);
    }
    void Sample(uint64_t in, uint64_t out, uint64_t afterMs = 1000) { Sample({Row("eth0", in, out)}, afterMs); }
    // The records as "day.month-segment in/out name" lines.
    std::vector<std::string> Records() const
    {
        std::vector<std::string> lines;
        for (int32_t i = 1; i <= history.HistoryCount(); ++i) {
            const DayRecord& r = history[i];
            lines.push_back(std::to_string(r.Day) + "-" + std::to_string(r.Segment) + " " + std::to_string(r.InOctets) +
                            "/" + std::to_string(r.OutOctets) + " " + r.Name.str());
        }
        return lines;
    }
};

using Lines = std::vector<std::string>;

TEST(Counting, TheWorkedSequenceClosesTheRecordWhenTheCountersStartAgain)
{
    for (bool wide : {false, true}) {
        ProgramRun run;
        run.wide = wide;
        run.Sample(100, 50);
        run.Sample(150, 70);
        run.Sample(20, 10);
        EXPECT_EQ(run.Records(), (Lines{"6-1 150/70 eth0", "6-0 20/10 eth0"})) << wide;
    }
}

TEST(Counting, CounterMovements)
{
    struct Step {
        uint64_t in, out;
        uint64_t afterMs = 1000;
        uint64_t speed = 0;  // bits per second, 0 unknown
    };
    struct Case {
        const char* what;
        bool wide;
        std::vector<Step> steps;
        Lines records;
    };
    const uint64_t nearTop = Top32 - 99;  // 100 below the wrap
    // The connection has yesterday's record and the counters file does not know the row, so
    // the first sample only notes the counters and today's record starts empty.
    const Case cases[] = {
        {"growth adds up", false, {{100, 10}, {150, 30}, {150, 31}}, {"6-0 50/21 eth0"}},
        {"equal counters add nothing", true, {{5, 5}, {5, 5}}, {"6-0 0/0 eth0"}},
        {"both down: started again", false, {{9, 9}, {1, 1}}, {"6-1 0/0 eth0", "6-0 1/1 eth0"}},
        {"64-bit, one down: started again", true, {{9, 9}, {1, 20}}, {"6-1 0/0 eth0", "6-0 1/20 eth0"}},
        // From 100 below the top to 50: 150 octets, nothing closed, the outbound side counted once.
        {"32-bit, one down within the run: a wrap", false, {{nearTop, 7}, {50, 9}}, {"6-0 150/2 eth0"}},
        {"32-bit wrap within the link's speed", false, {{nearTop, 7}, {50, 9, 1000, 10'000'000}}, {"6-0 150/2 eth0"}},
        {"32-bit, one down after a minute: started again", false, {{nearTop, 7}, {50, 9, 61'000}},
         {"6-1 0/0 eth0", "6-0 50/9 eth0"}},
        {"32-bit, one down faster than the link: started again", false,
         {{Top32 - 999'999, 7}, {2'000'000, 9, 1000, 1'000'000}}, {"6-1 0/0 eth0", "6-0 2000000/9 eth0"}},
        {"32-bit, outbound wraps", false, {{3, nearTop}, {4, 1}}, {"6-0 1/101 eth0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run;
        run.wide = c.wide;
        ReadHistoryText("5.12.2026-0\t1\t1\teth0", run.history);
        for (const Step& s : c.steps)
            run.Sample({Row("eth0", s.in, s.out, 1, s.speed)}, s.afterMs);
        Lines expected = {"5-0 1/1 eth0"};
        expected.insert(expected.end(), c.records.begin(), c.records.end());
        EXPECT_EQ(run.Records(), expected);
    }
}

TEST(Counting, RowsAreKnownByIdentity)
{
    struct Case {
        const char* what;
        std::vector<std::vector<IfRow>> samples;
        Lines records;
    };
    const Case cases[] = {
        {"two rows of one description add up their own growth",
         {{Row("eth0", 100, 10, 1), Row("eth0", 5, 50, 2)}, {Row("eth0", 110, 12, 1), Row("eth0", 6, 60, 2)}},
         {"6-0 116/72 eth0"}},
        {"a stale duplicate adds nothing",
         {{Row("veth0", 7000, 700, 1)}, {Row("veth0", 7000, 700, 1), Row("veth0", 10, 1, 2)},
          {Row("veth0", 7000, 700, 1), Row("veth0", 30, 3, 2)}},
         {"6-1 7000/700 veth0", "6-0 30/3 veth0"}},
        {"a new identity of a known description ends its stretch and counts its counters",
         {{Row("eth0", 500, 50, 1)}, {Row("eth0", 520, 52, 1)}, {Row("eth0", 30, 3, 7)}, {Row("eth0", 40, 4, 7)}},
         {"6-1 520/52 eth0", "6-0 40/4 eth0"}},
        {"a changed description: the growth opens a record under the new name",
         {{Row("Old adapter", 1000, 100, 1)}, {Row("New adapter", 1500, 180, 1)}, {Row("New adapter", 1600, 190, 1)}},
         {"6-0 1000/100 Old adapter", "6-0 600/90 New adapter"}},
        {"an interface renumbered while its counters go on",
         {{Row("eth0", 500, 50, 1)}, {Row("eth0", 520, 52, 2)}}, {"6-0 520/52 eth0"}},
        // Made again: Wine shows the new counters under the old index first, then renumbers it.
        {"an interface made again, shown under its old identity for a moment",
         {{Row("vtest", 1311, 2666, 5)}, {}, {Row("vtest", 516, 553, 5)}, {Row("vtest", 1548, 553, 7)}},
         {"6-1 1311/2666 vtest", "6-0 1548/553 vtest"}},
        {"an interface made again, listed under its old and its new identity with the same counters",
         {{Row("vtest", 1311, 2666, 2)}, {}, {Row("vtest", 516, 553, 3), Row("vtest", 516, 553, 2)},
          {Row("vtest", 1368, 553, 3), Row("vtest", 1368, 553, 2)}, {Row("vtest", 1400, 560, 3)}},
         {"6-1 1311/2666 vtest", "6-0 1400/560 vtest"}},
        // (at the cost of the second one's counters in that sample)
        {"two interfaces of one description that happen to show the same counters once",
         {{Row("eth0", 10, 10, 1), Row("eth0", 10, 10, 2)}, {Row("eth0", 15, 12, 1), Row("eth0", 17, 19, 2)}},
         {"6-0 22/21 eth0"}},
        {"a row that comes back with the same identity goes on",
         {{Row("eth0", 100, 10, 1)}, {}, {Row("eth0", 300, 30, 1)}}, {"6-0 300/30 eth0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run;
        for (const std::vector<IfRow>& rows : c.samples)
            run.Sample(rows);
        EXPECT_EQ(run.Records(), c.records);
    }
}

TEST(IsConnection, AFilterRowIsNoneUnlessPricedOrShown)
{
    TariffArray tariffs;
    tariffs[tariffs.Add("Wi-Fi-QoS Packet Scheduler-0000", "")].PriceOut = 0.5;
    tariffs.Add("Wi-Fi-WFP 802.3 MAC Layer LightWeight Filter-0000", "free");
    struct Case {
        const char* name;
        bool filter;
        const char* showName;
        bool connection;
    };
    const Case cases[] = {
        {"Wi-Fi", false, "", true},
        {"Wi-Fi-WFP Native MAC Layer LightWeight Filter-0000", true, "", false},
        {"Wi-Fi-WFP 802.3 MAC Layer LightWeight Filter-0000", true, "", false},  // an entry at price 0
        {"Wi-Fi-QoS Packet Scheduler-0000", true, "", true},                    // priced
        {"Wi-Fi-WFP Native MAC Layer LightWeight Filter-0000", true, "Wi-Fi-WFP Native MAC Layer LightWeight Filter-0000",
         true},
    };
    for (const Case& c : cases) {
        IfRow row{c.name, 1, 1, 1, 0, 0, c.filter};
        EXPECT_EQ(IsConnection(row, tariffs, c.showName), c.connection) << c.name;
    }
}

TEST(Counting, RowsThatAreNoConnectionsAndIdleRowsGetNoRecords)
{
    ProgramRun run;
    run.wide = true;
    ReadHistoryText("5.12.2026-0\t9\t9\tOld filter\r\n", run.history);  // counted by an earlier version
    bool priced = false;
    auto isConnection = [&](const IfRow& row) { return !row.FilterInterface || priced; };
    auto sample = [&](uint64_t filterIn, uint64_t idleIn, uint64_t oldIn) {
        run.now += 1000;
        run.counting.Sample(run.history, run.segments, run.day, run.now, true,
                            {IfRow{"Wi-Fi", 100 + filterIn, 10, 1},
                             IfRow{"Wi-Fi-QoS Packet Scheduler-0000", 100 + filterIn, 10, 2, 0, 0, true},
                             IfRow{"WAN Miniport (IKEv2)", idleIn, 0, 3},
                             IfRow{"Old filter", oldIn, 0, 4, 0, 0, true}},
                            isConnection);
    };
    sample(0, 0, 50);
    sample(20, 0, 60);
    EXPECT_EQ(run.Records(), (Lines{"5-0 9/9 Old filter", "6-0 120/10 Wi-Fi"}));
    sample(30, 5, 70);  // the idle row's first traffic: its first record
    priced = true;      // the user priced the filter rows: they count on from their last counters
    sample(45, 5, 75);
    EXPECT_EQ(run.Records(), (Lines{"5-0 9/9 Old filter", "6-0 145/10 Wi-Fi", "6-0 5/0 WAN Miniport (IKEv2)",
                                    "6-0 15/0 Wi-Fi-QoS Packet Scheduler-0000", "6-0 5/0 Old filter"}));
    run.counting.Sample(run.history, run.segments, run.day, run.now += 1000, true, {IfRow{"WAN Miniport (IKEv2)", 0, 0, 3}});
    EXPECT_EQ(run.Records().back(), "6-0 0/0 WAN Miniport (IKEv2)");  // a known connection restarted at 0/0
    EXPECT_EQ(run.Records()[2], "6-1 5/0 WAN Miniport (IKEv2)");
}

// The run ends: its files are written and a new run, `next`, reads them back.
void Restart(const ProgramRun& old, ProgramRun& next)
{
    const std::string history = WriteHistoryText(old.history, "", 792);
    const std::string counters = WriteCountersText(old.counting, FingerprintOf(old.history));
    next.wide = old.wide;
    next.day = old.day;
    next.now = old.now;
    ReadHistoryText(history, next.history);
    ReadCountersText(counters, true, next.history, next.now, true, next.counting);
}

TEST(Counting, DaysFollowTheClock)
{
    // A week-long run: every day's records hold that day's traffic, and nothing is counted twice.
    ProgramRun run;
    run.wide = true;
    uint64_t in = 1000, out = 100;
    run.Sample(in, out);
    for (uint16_t d = 7; d <= 13; ++d) {
        in += 5000, out += 500;
        run.Sample(in, out);  // before midnight
        run.day = Date{2026, 12, d};
        in += 7, out += 1;
        run.Sample(in, out);  // the first sample of the day: the new day's record
    }
    ASSERT_EQ(run.history.HistoryCount(), 8);
    EXPECT_EQ(run.Records()[0], "6-0 6000/600 eth0");
    EXPECT_EQ(run.Records()[7], "13-0 7/1 eth0");
    uint64_t sum = 0;
    for (int32_t i = 1; i <= 8; ++i)
        sum += run.history[i].InOctets;
    EXPECT_EQ(sum, in);

    // The first sample of a day opens a record for every sampled connection, even with no growth.
    run.day = Date{2026, 12, 14};
    run.Sample({Row("eth0", in, out), Row("lo", 3, 3, 2)});
    run.Sample({Row("eth0", in, out), Row("lo", 3, 3, 2)});
    EXPECT_EQ(run.Records().back(), "14-0 3/3 lo");
    EXPECT_EQ(run.Records()[8], "14-0 0/0 eth0");

    // The clock set back: that date's open record, or a new one at the end.
    run.day = Date{2026, 12, 10};
    run.Sample({Row("eth0", in + 3, out)});
    EXPECT_EQ(run.Records()[4], "10-0 5010/501 eth0");
    run.day = Date{2026, 11, 30};
    run.Sample({Row("eth0", in + 4, out)});
    EXPECT_EQ(run.Records().back(), "30-0 1/0 eth0");
}

TEST(Counting, SleepAndLaterStarts)
{
    struct Case {
        const char* what;
        bool wide;
        uint64_t awayMs;     // between the last sample and the next
        bool restarted;      // a new run in between (files written and read)
        bool nextDay;
        uint64_t in, out;    // the counters then
        Lines records;
    };
    const Case cases[] = {
        {"sleep across midnight", true, 8 * 3600'000, false, true, 9000, 900, {"6-0 1000/100 eth0", "7-0 8000/800 eth0"}},
        {"sleep, a 32-bit counter down: started again", false, 8 * 3600'000, false, false, 500, 900,
         {"6-1 1000/100 eth0", "6-0 500/900 eth0"}},
        {"a later start on the same day", true, 60'000, true, false, 9000, 900, {"6-0 9000/900 eth0"}},
        {"a start on the next day, the counters not restarted", false, 3600'000, true, true, 9000, 900,
         {"6-0 1000/100 eth0", "7-0 8000/800 eth0"}},
        {"a later start, the counters restarted", true, 60'000, true, false, 30, 3,
         {"6-1 1000/100 eth0", "6-0 30/3 eth0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun first;
        first.wide = c.wide;
        first.Sample(1000, 100);
        ProgramRun restarted;
        ProgramRun* second = &first;
        if (c.restarted) {
            Restart(first, restarted);
            second = &restarted;
        }
        if (c.nextDay)
            second->day = Tomorrow;
        second->Sample(c.in, c.out, c.awayMs);
        EXPECT_EQ(second->Records(), c.records);
    }
}

TEST(Counting, TheCountersFileDecidesTheFirstSample)
{
    // A run that counted 1000/100 on the 6th; its last counters 1000/100.
    ProgramRun old;
    old.Sample(1000, 100);
    const std::string history = WriteHistoryText(old.history, "", 792);
    const std::string counters = WriteCountersText(old.counting, FingerprintOf(old.history));
    const std::string earlier = "SHOW=\r\nform1.width=792\r\n6.12.2026-0\t1000      \t100       \teth0\r\n";

    struct Case {
        const char* what;
        std::string history, counters;
        bool present;
        uint64_t uptime;
        bool historyAfterBoot;
        StartKind start;
        Lines records;  // after a sample of 1500/150 on the 7th
    };
    const uint64_t later = old.now + 60'000;
    const Case cases[] = {
        {"the file fits the history", history, counters, true, later, true, StartKind::Continue,
         {"6-0 1000/100 eth0", "7-0 500/50 eth0"}},
        {"the uptime is lower: the computer restarted", history, counters, true, 30'000, true, StartKind::Restarted,
         {"6-0 1000/100 eth0", "7-0 1500/150 eth0"}},
        {"damaged", history, "uptime=12\r\ncounters=3", true, later, true, StartKind::Untrusted,
         {"6-0 1000/100 eth0", "7-0 0/0 eth0"}},
        {"present but unreadable", history, "", true, later, true, StartKind::Untrusted,
         {"6-0 1000/100 eth0", "7-0 0/0 eth0"}},
        {"stale: an earlier version went on with the history", history + "6.12.2026-0\t9         \t9         \teth0\r\n",
         counters, true, later, true, StartKind::Untrusted, {"6-0 1000/100 eth0", "6-0 9/9 eth0", "7-0 0/0 eth0"}},
        {"lacking the row", history, counters.substr(0, counters.rfind("1\t")), true, later, true,
         StartKind::Continue, {"6-0 1000/100 eth0", "7-0 0/0 eth0"}},
        {"a history cleared: goes on from the counters", "", counters, true, later, true, StartKind::Continue,
         {"7-0 500/50 eth0"}},
        {"an upgrade, the history written since the boot", earlier, "", false, later, true, StartKind::Upgrade,
         {"6-0 1000/100 eth0", "7-0 500/50 eth0"}},
        {"an upgrade, the history written before the boot", earlier, "", false, later, false, StartKind::Restarted,
         {"6-0 1000/100 eth0", "7-0 1500/150 eth0"}},
        {"no files at all", "", "", false, later, false, StartKind::Continue, {"7-0 1500/150 eth0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run;
        run.now = c.uptime;
        run.day = Tomorrow;
        ReadHistoryText(c.history, run.history);
        ReadCountersText(c.counters, c.present, run.history, run.now, c.historyAfterBoot, run.counting);
        EXPECT_EQ(run.counting.Start, c.start);
        run.Sample(1500, 150);
        EXPECT_EQ(run.Records(), c.records);
        EXPECT_EQ(run.counting.SaveDue, c.start == StartKind::Upgrade);
        run.Sample(1600, 160);  // from here on every way counts the growth
        EXPECT_EQ(run.history[run.history.HistoryCount()].InOctets, std::stoul(c.records.back().substr(4)) + 100);
    }
}

TEST(Counting, ARowFirstSeenAfterTheStartCountsOnlyWhatTheFileAllows)
{
    // eth0 counted 1000 today in the last run; the first table after the start lacks it.
    const std::string history = "6.12.2026-0\t1000\t100\teth0\r\n";
    struct Case {
        const char* what;
        const char* counters;  // nullptr: no file
        Lines records;
    };
    const Case cases[] = {
        {"a damaged file: the row's first sight only notes its counters", "x", {"6-0 1050/100 eth0"}},
        {"an upgrade: from the last record as it was read", nullptr, {"6-0 1150/100 eth0"}},
        {"the file lacks the row", "uptime=1\r\ncounters=64\r\nhistory=1 1000 100\r\nbefore=0 0 0\r\n",
         {"6-0 1050/100 eth0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run;
        run.wide = true;
        ReadHistoryText(history, run.history);
        ReadCountersText(c.counters ? c.counters : "", c.counters != nullptr, run.history, run.now, true, run.counting);
        run.Sample({Row("lo", 5, 5, 9)});
        run.Sample(1100, 100);  // counters that went on since the last run, not new ones
        run.Sample(1150, 100);
        EXPECT_EQ(run.Records()[0], c.records[0]);
    }
}

TEST(Counting, ADescriptionRenamedWhileTheProgramWasAwayIsNotCountedWholeAgain)
{
    ProgramRun run;
    ReadHistoryText("6.12.2026-0\t1000\t100\tOld name\r\n", run.history);
    ReadCountersText("uptime=1\r\ncounters=32\r\nhistory=1 1000 100\r\nbefore=0 0 0\r\n", true, run.history, run.now, true,
                     run.counting);
    run.Sample({Row("New name", 1000, 100, 4)});  // the file lacks the row: only noted
    run.Sample({Row("New name", 1200, 110, 4)});
    EXPECT_EQ(run.Records(), (Lines{"6-0 1000/100 Old name", "6-0 200/10 New name"}));
    // An adapter plugged in later in the run starts from its counters.
    run.Sample({Row("New name", 1300, 110, 4), Row("USB modem", 70, 7, 5)});
    EXPECT_EQ(run.Records().back(), "6-0 70/7 USB modem");
}

TEST(Counting, AGlitchBeyondWhatASampleCanHoldIsSkipped)
{
    ProgramRun run;
    run.wide = true;
    run.Sample(1000, 100);
    run.Sample(18446744073709551615u, 100);  // a driver's glitch
    run.Sample(1500, 120);
    EXPECT_EQ(run.Records(), (Lines{"6-0 1500/120 eth0"}));
    run.Sample({Row("Broken adapter", 18446744073709551615u, 0, 2)});
    EXPECT_EQ(run.history.HistoryCount(), 1);
}

TEST(Counting, AnUpgradeComparesTheEarlierRecordsModulo2To32)
{
    struct Case {
        const char* what;
        bool wide;
        uint64_t in, out;
        Lines records;
    };
    const std::string earlier = "6.12.2026-0\t4000000000\t100       \teth0\r\n";
    const Case cases[] = {
        {"a 64-bit counter past 2^32", true, (uint64_t(1) << 32) + 500, 150, {"6-0 4000000000/100 eth0", "7-0 294967796/50 eth0"}},
        // The earlier day's open record stays as it is; the new day counts from the counters.
        {"a 64-bit counter below 2^32 went down: started again", true, 500, 150,
         {"6-0 4000000000/100 eth0", "7-0 500/150 eth0"}},
        {"a 32-bit counter went down: started again", false, 500, 150, {"6-0 4000000000/100 eth0", "7-0 500/150 eth0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run;
        run.wide = c.wide;
        run.day = Tomorrow;
        ReadHistoryText(earlier, run.history);
        ReadCountersText("", false, run.history, run.now, true, run.counting);
        run.Sample(c.in, c.out);
        EXPECT_EQ(run.Records(), c.records);
    }
}

TEST(Counting, AFiveGibibyteDayIsKeptWholeUnderThe32BitFields)
{
    ProgramRun run;
    run.wide = true;
    const uint64_t five = uint64_t(5) << 30;
    run.Sample(five + 1, 3);  // a first record from a 64-bit counter past 4 GiB
    run.Sample(2 * five, 4);
    uint64_t in = 0, out = 0;
    for (int32_t i = 1; i <= run.history.HistoryCount(); ++i)
        in += run.history[i].InOctets, out += run.history[i].OutOctets;
    EXPECT_EQ(in, 2 * five);
    EXPECT_EQ(out, 4u);
    EXPECT_EQ(run.Records(), (Lines{"6-1 4294967295/3 eth0", "6-2 4294967295/1 eth0", "6-0 2147483650/0 eth0"}));
    EXPECT_EQ(run.counting.Speed("eth0"), static_cast<double>(five - 1 + 1) / 128);  // no spike from the split
}

TEST(Counting, SpeedIsThisSamplesGrowthOverTheSecondsSinceTheLast)
{
    ProgramRun run;
    run.Sample({Row("eth0", 1'000'000, 0), Row("lo", 5, 5, 2)});
    EXPECT_EQ(run.counting.Speed("eth0"), 0);  // the first sample after a start
    struct Step {
        uint64_t in, afterMs;
        double speed;
    };
    const Step steps[] = {
        {1'001'280, 1000, 10},  // 1280 octets in a second: 10 Kbit/s
        {1'002'560, 1400, 10},  // a late tick counts as one second
        {1'006'400, 3000, 10},  // 3840 octets in 3 s
        {1'006'400, 1000, 0},
    };
    for (const Step& s : steps) {
        run.Sample({Row("eth0", s.in, 0), Row("lo", 5, 5, 2)}, s.afterMs);
        EXPECT_DOUBLE_EQ(run.counting.Speed("eth0"), s.speed) << s.in;
    }
    run.day = Tomorrow;  // midnight: no spike
    run.Sample({Row("eth0", 1'007'680, 0)});
    EXPECT_DOUBLE_EQ(run.counting.Speed("eth0"), 10);
    EXPECT_EQ(run.counting.Speed("lo"), 0);  // not sampled
    run.counting.Missed();
    EXPECT_EQ(run.counting.Speed("eth0"), 0);
}

TEST(CountersFile, RoundTripsEveryRowAndTheUptime)
{
    Counting counting;
    counting.Counters64 = true;
    counting.Uptime = 123456789;
    counting.Rows[18446744073709551615u] = RowCounters{"Intel(R) Wi-Fi 6 AX201 160MHz", 18446744073709551615u, 0, true, 0};
    counting.Rows[7] = RowCounters{"a\ttab and | bar", 5, 6, false, 0};
    HistoryFingerprint fp{3, 10, 20};
    counting.OnDisk = HistoryFingerprint{2, 9, 19};
    const std::string text = WriteCountersText(counting, fp);
    EXPECT_EQ(text, "uptime=123456789\r\ncounters=64\r\nhistory=3 10 20\r\nbefore=2 9 19\r\n"
                    "18446744073709551615\t18446744073709551615\t0\tIntel(R) Wi-Fi 6 AX201 160MHz\r\n"
                    "7\t5\t6\ta\ttab and | bar\r\n");

    DayRecordArray history;  // with no records any file fits
    Counting back;
    ReadCountersText(text, true, history, 123456789, true, back);
    EXPECT_EQ(back.Start, StartKind::Continue);
    EXPECT_TRUE(back.Counters64);
    ASSERT_EQ(back.Rows.size(), 2u);
    EXPECT_EQ(back.Rows[18446744073709551615u].InOctets, 18446744073709551615u);
    EXPECT_EQ(back.Rows[7].Description, "a\ttab and | bar");
    EXPECT_FALSE(back.Rows[7].ThisRun);
}

TEST(CountersFile, OnlyAHistoryItWasWrittenWithIsTrusted)
{
    DayRecordArray history;
    ReadHistoryText("6.12.2026-0\t10\t20\teth0\r\n6.12.2026-1\t0\t0\teth0\r\n", history);
    const std::string rows = "5\t1\t2\teth0\r\n";
    struct Case {
        const char* header;
        StartKind start;
    };
    const Case cases[] = {
        {"uptime=10\r\ncounters=32\r\nhistory=2 10 20\r\nbefore=0 0 0\r\n", StartKind::Continue},
        // Cut short between the two files: the history is the one before.
        {"uptime=10\r\ncounters=32\r\nhistory=3 11 20\r\nbefore=2 10 20\r\n", StartKind::Continue},
        {"uptime=10\r\ncounters=32\r\nhistory=3 11 20\r\nbefore=1 10 20\r\n", StartKind::Untrusted},
        {"uptime=10\r\ncounters=16\r\nhistory=2 10 20\r\nbefore=0 0 0\r\n", StartKind::Untrusted},
        {"uptime=1x\r\ncounters=32\r\nhistory=2 10 20\r\nbefore=0 0 0\r\n", StartKind::Untrusted},
        {"uptime=10\r\ncounters=32\r\nhistory=2 10\r\nbefore=0 0 0\r\n", StartKind::Untrusted},
        {"counters=32\r\nhistory=2 10 20\r\nbefore=0 0 0\r\n", StartKind::Untrusted},
        {"uptime=100000\r\ncounters=32\r\nhistory=2 10 20\r\nbefore=0 0 0\r\n", StartKind::Restarted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        Counting counting;
        ReadCountersText(std::string(c.header) + rows + "junk\tline\r\n9\tx\t1\teth1\r\n", true, history, 5000, true,
                         counting);
        EXPECT_EQ(counting.Start, c.start);
        EXPECT_EQ(counting.Rows.size(), c.start == StartKind::Continue ? 1u : 0u);  // damaged rows are lacking
    }
}

}  // namespace
