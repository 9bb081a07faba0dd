// "История" and "Отчистить историю" through the main window, with the shell and the boxes
// answered by the test: the files they leave behind.
#include <gtest/gtest.h>

#include "mainwindow/Unit1.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "platform/text_win.h"
#include "report/clearing.h"
#include "report/history_report.h"
#include "report/report_win.h"
#include "temp_folder.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

namespace {

class SlashRegional : public CommaRegional {
public:
    std::string ShortDate(const Date&) override { return "12/6/2026"; }
};

struct ReportFixture : ::testing::Test {
    TempFolder work, exe;
    FakeIfTable table;
    FakeClock clock;
    SlashRegional regional;
    AtomicFileStore store;
    FakeShell shell;
    Engine engine{table};
    TForm1 form1{engine, clock, regional, store, shell, work.Path(), exe.Path()};
    std::vector<ModalBox> boxes;

    void SetUp() override
    {
        SetModalFunction([this](ModalBox& box) {
            boxes.push_back(box);
            return true;
        });
        work.Write("price.txt", "eth0|LAN>1,5@0\r\n");
        table.rows = {{"eth0", 2048, 1024}};
        form1.Create();
        form1.Timer1Timer();
    }
    void TearDown() override { SetModalFunction(nullptr); }};

TEST_F(ReportFixture, TheReportIsWrittenBesideTheExecutableAndOpenedMaximised)
{
    engine.SelectedConnection = "eth0";
    form1.N2Click();
    ASSERT_TRUE(exe.Exists("otchet/history.htm"));
    TariffArray tariffs = engine.TariffTable;
    EXPECT_EQ(exe.Read("otchet/history.htm"), HistoryReportPage(engine.HistoryTable, tariffs, "eth0", ','));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, L"open");
    EXPECT_EQ(shell.calls[0].target, (exe.Path() / L"otchet" / L"history.htm").wstring());
    EXPECT_EQ(shell.calls[0].show, SW_SHOWMAXIMIZED);
}

TEST_F(ReportFixture, ClearingArchivesTheSavedHistoryWritesTheScriptAndEnds)
{
    form1.SpeedButton2Click();
    ASSERT_TRUE(work.Exists("arxiv/arxiv_12-6-2026_history.txt"));
    EXPECT_EQ(work.Read("arxiv/arxiv_12-6-2026_history.txt"), work.Read("history.txt"));
    EXPECT_NE(work.Read("history.txt").find("\t2048      \t1024      \teth0"), std::string::npos);
    EXPECT_EQ(exe.Read("restart.bat"),
              RestartScript(ConsolePath(work.Path()), "arxiv_12-6-2026_history.txt",
                            ConsolePath(exe.Path() / ExecutablePath().filename())));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, ClearingMessage("arxiv_12-6-2026_history.txt"));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, (exe.Path() / L"restart.bat").wstring());
    EXPECT_EQ(shell.calls[0].show, SW_SHOWNORMAL);
    EXPECT_TRUE(QuitPosted());
    EXPECT_FALSE(form1.Sampling());
    EXPECT_FALSE(table.Loaded());

    // Nothing writes "history.txt" after the clearing's save: not the save before sleep.
    std::filesystem::remove(work.Path() / "history.txt");
    SendMessageW(form1.Handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_FALSE(work.Exists("history.txt"));
}

TEST_F(ReportFixture, ClearingTwiceOnOneDayKeepsBothArchives)
{
    work.Write("history.txt", "earlier");
    std::string first = ArchiveHistory(work.Path(), "06.12.2026");
    work.Write("history.txt", "later");
    std::string second = ArchiveHistory(work.Path(), "06.12.2026");
    EXPECT_EQ(first, "arxiv_06.12.2026_history.txt");
    EXPECT_EQ(second, "arxiv_06.12.2026_2_history.txt");
    EXPECT_EQ(work.Read("arxiv/arxiv_06.12.2026_2_history.txt"), "later");
    EXPECT_EQ(work.Read("arxiv/arxiv_06.12.2026_history.txt"), "earlier");
}

TEST_F(ReportFixture, ACopyThatCannotBeMadeLeavesTheHistoryAndSamplingGoesOn)
{
    work.Write("arxiv", "a file where the folder should be");
    form1.SpeedButton2Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Kind, ModalKind::Error);
    EXPECT_NE(boxes[0].Text.find("История не удалена"), std::string::npos);
    EXPECT_TRUE(work.Exists("history.txt"));
    EXPECT_FALSE(exe.Exists("restart.bat"));
    EXPECT_FALSE(work.Exists(ClearingLockName));
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(QuitPosted());
    EXPECT_TRUE(form1.Sampling());
    table.rows = {{"eth0", 4096, 1024}};
    form1.Timer1Timer();
    EXPECT_EQ(engine.HistoryTable[1].InOctets, 4096u);
}

}  // namespace
