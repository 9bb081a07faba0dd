// Days, clocks, sleep and interfaces that come and go, over real ticks of the main window,
// checked in the file it saves: nothing lost, nothing counted twice beyond what the program's
// design counts (one tick's traffic before a counter restart).
#include <gtest/gtest.h>

#include "mainwindow/Unit1.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "temp_folder.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

namespace {

struct DayFixture : ::testing::Test {
    TempFolder folder;
    FakeIfTable table;
    FakeClock clock;
    CommaRegional regional;
    AtomicFileStore store;
    FakeShell shell;
    Engine engine{table};
    TForm1 form1{engine, clock, regional, store, shell, folder.Path(), folder.Path()};

    void SetUp() override
    {
        SetModalFunction([](ModalBox&) { return true; });
        form1.Create();
    }
    void TearDown() override { SetModalFunction(nullptr); }
    void Tick(std::vector<IfRow> rows)
    {
        table.rows = std::move(rows);
        form1.Timer1Timer();
    }
    // The records of the saved file, without the two setting lines.
    std::string SavedRecords()
    {
        EXPECT_TRUE(form1.ost());
        std::string text = folder.Read("history.txt");
        return text.substr(text.find("\r\n", text.find("form1.width")) + 2);
    }
};

TEST_F(DayFixture, PastMidnightAndWithTheClockSetBackTheRunKeepsItsStartDate)
{
    Tick({{"eth0", 100, 10}});
    clock.today = {2026, 12, 7};  // midnight passed
    Tick({{"eth0", 200, 20}});
    clock.today = {2026, 11, 30};  // the clock set back
    Tick({{"eth0", 300, 30}});
    EXPECT_EQ(SavedRecords(), "6.12.2026-0\t300       \t30        \teth0\r\n");
}

TEST_F(DayFixture, SleepSavesAndCountersRestartedOnWakeStartANewRecord)
{
    Tick({{"eth0", 5000, 500}});
    SendMessageW(form1.Handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_NE(folder.Read("history.txt").find("\t5000      \t500       \teth0"), std::string::npos);
    SendMessageW(form1.Handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    Tick({{"eth0", 40, 4}});  // the adapter's counters started again
    Tick({{"eth0", 90, 9}});
    EXPECT_EQ(SavedRecords(), "6.12.2026-1\t5000      \t500       \teth0\r\n"
                              "6.12.2026-0\t90        \t9         \teth0\r\n");
}

TEST_F(DayFixture, AnInterfaceThatComesBackListedTwiceIsOneConnection)
{
    Tick({{"veth0", 7000, 700}});
    Tick({});  // gone
    // Back under the same description: Wine lists the old row with its last counters and the
    // new one from zero. Merged, they neither close the record every second nor add the old
    // counters to the day again.
    for (uint32_t n = 1; n <= 5; ++n)
        Tick({{"veth0", 7000, 700}, {"veth0", 10 * n, n}});
    Tick({{"veth0", 8000, 900}});  // the new counters passed the old ones
    EXPECT_EQ(SavedRecords(), "6.12.2026-0\t8000      \t900       \tveth0\r\n");
}

}  // namespace
