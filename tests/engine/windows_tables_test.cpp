// The interface tables of real Windows machines, replayed tick by tick: only the adapters
// that carry traffic become connections; filter rows, idle WAN Miniports and tunnels do not,
// and an earlier version's records of them stay.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/state_files.h"
#include "tests/support/scripted_iftable.h"

namespace {

std::vector<std::string> Connections(const DayRecordArray& history)
{
    std::vector<std::string> names;
    for (int32_t c = 0; c < history.ConnectionCount(); ++c)
        names.push_back(history.ConnectionNameOf(c));
    return names;
}

TEST(WindowsTables, OnlyTheAdaptersThatCarryTrafficBecomeConnections)
{
    for (const char* fixture : {"windows10_23rows.txt", "windows11_60rows.txt"}) {
        SCOPED_TRACE(fixture);
        ScriptedIfTable table(std::filesystem::path(VORNIK_FIXTURES) / fixture);
        ASSERT_TRUE(table.Load());
        std::string text;
        ASSERT_TRUE(ReadWholeFile(std::filesystem::path(VORNIK_FIXTURES) / fixture, text));
        std::vector<std::string> expected;
        for (const ScriptedRow& row : ReadFixture(text))
            if (row.Block)
                expected.push_back(row.Row.Description);
        EXPECT_EQ(ReadFixture(text).size(), std::string(fixture).find("23") != std::string::npos ? 23u : 60u);

        Engine engine(table);
        engine.StartDate = {2026, 12, 10};
        for (uint64_t tick = 1; tick <= 5; ++tick)
            SampleInterfaces(engine, 1000 * tick);
        EXPECT_EQ(Connections(engine.HistoryTable), expected);
        // Each adapter's records hold its own traffic once: the first read's counters and four reads' growth.
        for (int32_t c = 0; c < engine.HistoryTable.ConnectionCount(); ++c) {
            const std::string& name = engine.HistoryTable.ConnectionNameOf(c);
            for (const IfRow& row : FixtureTable(ReadFixture(text), 4)) {
                if (row.Description == name) {
                    EXPECT_EQ(engine.HistoryTable.Sums(c, engine.StartDate).TodayIn, row.InOctets) << name;
                }
            }
        }
    }
}

TEST(WindowsTables, AnEarlierVersionsRecordsOfFilterRowsStayAndAPricedOneCountsOn)
{
    ScriptedIfTable table(std::filesystem::path(VORNIK_FIXTURES) / "windows10_23rows.txt");
    ASSERT_TRUE(table.Load());
    Engine engine(table);
    engine.StartDate = {2026, 12, 10};
    const std::string qos = "Intel(R) Wi-Fi 6 AX201 160MHz-QoS Packet Scheduler-0000";
    const std::string lwf = "Intel(R) Wi-Fi 6 AX201 160MHz-WFP Native MAC Layer LightWeight Filter-0000";
    ReadHistoryText("9.12.2026-0\t100\t10\t" + qos + "\r\n9.12.2026-0\t100\t10\t" + lwf + "\r\n", engine.HistoryTable);
    engine.TariffTable[engine.TariffTable.Add(qos, "Wi-Fi")].PriceIn = 1.5;
    for (uint64_t tick = 1; tick <= 3; ++tick)
        SampleInterfaces(engine, 1000 * tick);
    // No counters file knew the rows: the first sample counts nothing, then the growth.
    EXPECT_EQ(engine.HistoryTable.Sums(0, engine.StartDate).TodayIn, 2 * 250000u);  // priced: counts on
    EXPECT_EQ(engine.HistoryTable.Sums(1, engine.StartDate).TodayIn, 0u);           // unpriced: stays as it was
    EXPECT_EQ(engine.HistoryTable.Sums(1, engine.StartDate).AllIn, 100u);
}

}  // namespace
