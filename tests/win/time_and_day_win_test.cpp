// Days, clocks, sleep, later starts and interfaces that come and go, over real ticks of the
// main window, checked in the files it saves: each record holds its own stretch's traffic,
// nothing lost, nothing counted twice.
#include <gtest/gtest.h>

#include <memory>

#include "mainwindow/Unit1.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "temp_folder.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

namespace {

// One run of the program in a folder that outlives it.
struct ProgramRun {
    FakeIfTable& table;
    FakeClock& clock;
    CommaRegional regional;
    AtomicFileStore store;
    FakeShell shell;
    Engine engine{table};
    TForm1 form1;

    ProgramRun(FakeIfTable& t, FakeClock& c, const std::filesystem::path& folder)
        : table(t), clock(c), form1{engine, clock, regional, store, shell, folder, folder}
    {
        form1.Create();
    }
    void Tick(std::vector<IfRow> rows)
    {
        clock.ms += 1000;
        table.rows = std::move(rows);
        form1.Timer1Timer();
    }
};

struct DayFixture : ::testing::Test {
    TempFolder folder;
    FakeIfTable table;
    FakeClock clock;
    std::unique_ptr<ProgramRun> run;

    void SetUp() override
    {
        SetModalFunction([](ModalBox&) { return true; });
        Start();
    }
    void TearDown() override { SetModalFunction(nullptr); }
    void Start()
    {
        run.reset();
        run = std::make_unique<ProgramRun>(table, clock, folder.Path());
    }
    void Tick(std::vector<IfRow> rows) { run->Tick(std::move(rows)); }
    // The records of the saved file, without the two setting lines.
    std::string SavedRecords()
    {
        EXPECT_TRUE(run->form1.ost());
        std::string text = folder.Read("history.txt");
        return text.substr(text.find("\r\n", text.find("form1.width")) + 2);
    }
};

TEST_F(DayFixture, TheDayFollowsTheClockAlsoWhenItIsSetBack)
{
    Tick({{"eth0", 100, 10}});
    clock.today = {2026, 12, 7};  // midnight passed
    Tick({{"eth0", 200, 20}});
    clock.today = {2026, 11, 30};  // the clock set back
    Tick({{"eth0", 300, 30}});
    EXPECT_EQ(SavedRecords(), "6.12.2026-0\t100       \t10        \teth0\r\n"
                              "7.12.2026-0\t100       \t10        \teth0\r\n"
                              "30.11.2026-0\t100       \t10        \teth0\r\n");
}

TEST_F(DayFixture, SleepSavesAndCountersRestartedOnWakeStartANewRecord)
{
    Tick({{"eth0", 5000, 500}});
    SendMessageW(run->form1.Handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_NE(folder.Read("history.txt").find("\t5000      \t500       \teth0"), std::string::npos);
    EXPECT_TRUE(folder.Exists("counters.txt"));
    SendMessageW(run->form1.Handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    clock.ms += 8 * 3600 * 1000;
    Tick({{"eth0", 40, 4}});  // the adapter's counters started again
    Tick({{"eth0", 90, 9}});
    EXPECT_EQ(SavedRecords(), "6.12.2026-1\t5000      \t500       \teth0\r\n"
                              "6.12.2026-0\t90        \t9         \teth0\r\n");
}

TEST_F(DayFixture, AnInterfaceThatComesBackListedTwiceCountsOnlyTheNewRowsGrowth)
{
    Tick({{"veth0", 7000, 700, 1}});
    Tick({});  // gone
    // Back under the same description: Wine lists the old row with its last counters and the
    // new one from zero. The stale row adds nothing; the new one ends the stretch once and
    // counts its own counters.
    for (uint32_t n = 1; n <= 5; ++n)
        Tick({{"veth0", 7000, 700, 1}, {"veth0", 10 * n, n, 2}});
    Tick({{"veth0", 8000, 900, 2}});
    EXPECT_EQ(SavedRecords(), "6.12.2026-1\t7000      \t700       \tveth0\r\n"
                              "6.12.2026-0\t8000      \t900       \tveth0\r\n");
}

TEST_F(DayFixture, ALaterStartCountsOnlyWhatIsNewOnTheDayItIsSampled)
{
    // The counters had 705 744 730 octets in when the first run began.
    Tick({{"eth0", 705744730, 1000}});
    Tick({{"eth0", 705744800, 1000}});
    ASSERT_TRUE(run->form1.ost());
    clock.today = {2026, 12, 7};  // the next day, the computer slept meanwhile
    clock.ms += 10 * 3600 * 1000;
    Start();
    Tick({{"eth0", 705745000, 1100}});
    Tick({{"eth0", 705745100, 1110}});
    EXPECT_EQ(SavedRecords(), "6.12.2026-0\t705744800 \t1000      \teth0\r\n"
                              "7.12.2026-0\t300       \t110       \teth0\r\n");

    // The computer restarted: its uptime is lower, the counters began again.
    clock.ms = 90 * 1000;
    Start();
    Tick({{"eth0", 5000, 50}});
    EXPECT_EQ(SavedRecords(), "6.12.2026-0\t705744800 \t1000      \teth0\r\n"
                              "7.12.2026-1\t300       \t110       \teth0\r\n"
                              "7.12.2026-0\t5000      \t50        \teth0\r\n");
}

TEST_F(DayFixture, AnEarlierVersionsHistoryGoesOnFromItsLastRecord)
{
    // Written by an earlier version (its records hold the counters), with no counters file.
    run.reset();
    folder.Write("history.txt", "SHOW=\r\nform1.width=792\r\n6.12.2026-0\t705744730 \t1000      \teth0\r\n");
    clock.today = {2026, 12, 7};
    clock.ms = 1'000'000'000;  // the history was written since the computer started
    Start();
    Tick({{"eth0", 705745730, 1200}});
    EXPECT_TRUE(folder.Exists("counters.txt"));  // written right after the first sample
    Tick({{"eth0", 705745830, 1210}});
    EXPECT_EQ(SavedRecords(), "6.12.2026-0\t705744730 \t1000      \teth0\r\n"
                              "7.12.2026-0\t1100      \t210       \teth0\r\n");
}

}  // namespace
