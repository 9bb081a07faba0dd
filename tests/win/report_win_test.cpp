// "История" and "Отчистить историю" through the main window, with the shell and the boxes
// answered by the test: the files they leave behind.
#include <gtest/gtest.h>

#include <map>

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

TEST_F(ReportFixture, TheReportIsWrittenInTheProgramsFolderWithTheLogoAndOpenedMaximised)
{
    std::filesystem::create_directory(exe.Path() / "otchet");
    exe.Write("otchet/logo.png", "the logo");
    engine.SelectedConnection = "eth0";
    form1.N2Click();
    ASSERT_TRUE(work.Exists("otchet/history.htm"));
    TariffArray tariffs = engine.TariffTable;
    EXPECT_EQ(work.Read("otchet/history.htm"), HistoryReportPage(engine.HistoryTable, tariffs, "eth0", ','));
    EXPECT_EQ(work.Read("otchet/logo.png"), "the logo");
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, L"open");
    EXPECT_EQ(shell.calls[0].target, (work.Path() / L"otchet" / L"history.htm").wstring());
    EXPECT_EQ(shell.calls[0].show, SW_SHOWMAXIMIZED);
}

TEST_F(ReportFixture, ClearingArchivesTheSavedHistoryWritesTheScriptAndEnds)
{
    form1.SpeedButton2Click();
    ASSERT_TRUE(work.Exists("arxiv/arxiv_12-6-2026_history.txt"));
    EXPECT_EQ(work.Read("arxiv/arxiv_12-6-2026_history.txt"), work.Read("history.txt"));
    EXPECT_NE(work.Read("history.txt").find("\t2048      \t1024      \teth0"), std::string::npos);
    EXPECT_EQ(work.Read("restart.bat"),
              RestartScript("arxiv_12-6-2026_history.txt", *ConsolePath(exe.Path() / ExecutablePath().filename())));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, ClearingMessage("arxiv_12-6-2026_history.txt"));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, (work.Path() / L"restart.bat").wstring());
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
    EXPECT_FALSE(work.Exists("restart.bat"));
    EXPECT_FALSE(work.Exists(ClearingLockName));
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(QuitPosted());
    EXPECT_TRUE(form1.Sampling());
    table.rows = {{"eth0", 4096, 1024}};
    form1.Timer1Timer();
    EXPECT_EQ(engine.HistoryTable[1].InOctets, 4096u);
}

// WideCharToMultiByte as Windows documents it for UTF-8 and the other code pages that take no
// default character: ERROR_INVALID_PARAMETER when given one or the flag (Wine converts anyway).
int WINAPI StrictConvert(UINT codePage, DWORD flags, LPCWCH wide, int size, LPSTR out, int outSize, LPCCH defaultChar,
                         LPBOOL usedDefault)
{
    if (codePage == CP_UTF8 && (defaultChar || usedDefault || (flags & ~WC_ERR_INVALID_CHARS))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return WideCharToMultiByte(codePage, flags, wide, size, out, outSize, defaultChar, usedDefault);
}

// A volume's short names: none where 8.3 names are off (the long path comes back).
std::map<std::wstring, std::wstring> shortNames;
std::vector<std::wstring> shortNamesAsked;
DWORD WINAPI ShortNames(LPCWSTR path, LPWSTR out, DWORD size)
{
    shortNamesAsked.push_back(path);
    auto found = shortNames.find(path);
    const std::wstring& name = found == shortNames.end() ? std::wstring(path) : found->second;
    if (name.size() >= size)
        return static_cast<DWORD>(name.size() + 1);
    lstrcpynW(out, name.c_str(), static_cast<int>(size));
    return static_cast<DWORD>(name.size());
}

TEST(RestartScriptFor, SpellsItsPathsInTheConsolesCodePageOrFallsBackSafely)
{
    const std::filesystem::path cyrillic = L"C:\\\x0422\x0440\x0430\x0444\x0438\x043a";  // Трафик
    const std::filesystem::path chinese = L"C:\\\x7f51\x5361";                             // 网卡
    const std::filesystem::path archive = L"arxiv\\arxiv_6.12.2026_history.txt";
    struct Case {
        const char* what;
        UINT codePage;
        std::filesystem::path work;
        std::map<std::wstring, std::wstring> shortNames;
        std::string expectedWork;  // the executable's folder as the script names it
        bool utf8;                 // the script switches the console to UTF-8
    };
    const Case cases[] = {
        {"Cyrillic in code page 866", 866, cyrillic, {}, "C:\\\x92\xe0\xa0\xe4\xa8\xaa", false},
        {"a UTF-8 console takes no default-character arguments", CP_UTF8, chinese, {}, "C:\\\xe7\xbd\x91\xe5\x8d\xa1",
         false},
        {"Chinese in 866: the short names", 866, chinese,
         {{chinese.wstring(), L"C:\\5C3A~1"}, {(chinese / L"vrn15.exe").wstring(), L"C:\\5C3A~1\\vrn15.exe"}},
         "C:\\5C3A~1", false},
        {"Chinese in 866 without 8.3 names: all in UTF-8", 866, chinese, {}, "C:\\\xe7\xbd\x91\xe5\x8d\xa1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shortNames = c.shortNames;
        ConsoleSpelling console{c.codePage, StrictConvert, ShortNames};
        const std::string script = RestartScriptFor(c.work / archive, c.work / L"vrn15.exe", console);
        EXPECT_EQ(script, RestartScript("arxiv_6.12.2026_history.txt", c.expectedWork + "\\vrn15.exe", c.utf8));
        EXPECT_EQ(script.find("chcp 65001") != std::string::npos, c.utf8);
    }
}

TEST(RestartScriptFor, TheArchivesShortNameIsLookedUpInTheArchiveFolder)
{
    const std::filesystem::path work = L"C:\\Traffic";
    const std::filesystem::path archive = work / L"arxiv" / L"arxiv_\x7f51_history.txt";
    shortNames = {{archive.wstring(), L"C:\\Traffic\\arxiv\\ARXIV_~1.TXT"}};
    shortNamesAsked.clear();
    ConsoleSpelling console{866, StrictConvert, ShortNames};
    EXPECT_EQ(RestartScriptFor(archive, work / L"vrn15.exe", console),
              RestartScript("ARXIV_~1.TXT", "C:\\Traffic\\vrn15.exe"));
    EXPECT_EQ(shortNamesAsked, std::vector<std::wstring>{archive.wstring()});
}

}  // namespace
