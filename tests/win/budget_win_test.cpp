// The budget through the program's windows: the popup's items, the real dialog driven as a user
// drives it (stores, cancels, refuses a bad value), the warnings as tray balloons one at a time,
// the CSV export and the start with Windows in the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "informer/winfast.h"
#include "mainwindow/Unit1.h"
#include "platform/autostart_win.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "platform/profile_store.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "report/history_csv.h"
#include "temp_folder.h"
#include "tests/win/form1_parts.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

namespace {

struct BudgetFixture : ::testing::Test, Form1Parts {
    Win32ProfileStore profiles;
    TForm2 form2{folder.Path(), folder.Path(), profiles, store};
    std::vector<ModalBox> boxes;
    std::vector<NOTIFYICONDATAW> balloons;

    void SetUp() override
    {
        folder.Write("price.txt", "eth0|Дом>1@1\r\n");
        table.rows = {{"eth0", 1000, 1000}};
        form2.NotifyIcon = [this](DWORD message, NOTIFYICONDATAW* icon) {
            if (message == NIM_MODIFY && (icon->uFlags & NIF_INFO))
                balloons.push_back(*icon);
            return TRUE;
        };
        form2.Create(nullptr);
        form1.ShowBalloon = [this](const std::wstring& title, const std::wstring& text) {
            form2.QueueBalloon(title, text);
        };
        form1.Create();
        form1.Timer1Timer();
        engine.SelectedConnection = "eth0";
    }
    void TearDown() override
    {
        form1.StopSampling();
        SetModalFunction(nullptr);
        if (form2.Handle())
            DestroyWindow(form2.Handle());
    }
    void AnswerBoxes()
    {
        SetModalFunction([this](ModalBox& box) {
            boxes.push_back(box);
            return true;
        });
    }
};

TEST_F(BudgetFixture, ThePopupListsTheBudgetAndTheExport)
{
    std::vector<std::wstring> captions;
    form1.TrackPopup = [&](HMENU menu, POINT) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = L"";
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            captions.push_back(text);
        }
        return 0u;
    };
    form1.Image1MouseDown(1, 20, 20);
    std::vector<std::wstring> expected;
    for (const char* caption : {"История", "", "Задать цену", "", "Переименовать", "", "Бюджет", "Экспорт в CSV"})
        expected.push_back(ProgramText(caption));
    EXPECT_EQ(captions, expected);
}

// Drives the real dialog from another thread, as a user would: types the values and presses a
// button; a box the dialog leads to is closed with OK.
class DialogDriver {
public:
    DialogDriver(std::vector<std::wstring> values, int button) : values_(std::move(values)), button_(button)
    {
        thread_ = std::thread([this] { Run(); });
    }
    ~DialogDriver() { thread_.join(); }
    std::atomic<bool> formSeen{false}, boxSeen{false};

private:
    static HWND FindDialog(bool withEdit)
    {
        HWND found = nullptr;
        for (int i = 0; i < 100 && !found; ++i) {
            for (HWND w = FindWindowW(L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr))
                if (IsWindowVisible(w) && (GetDlgItem(w, 100) != nullptr) == withEdit)
                    found = w;
            if (!found)
                Sleep(50);
        }
        return found;
    }
    void Run()
    {
        HWND form = FindDialog(true);
        if (!form)
            return;
        formSeen = true;
        for (std::size_t i = 0; i < values_.size(); ++i)
            SetDlgItemTextW(form, static_cast<int>(100 + i), values_[i].c_str());
        PostMessageW(form, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        if (button_ == IDOK && (box_ = FindDialog(false))) {
            boxSeen = true;
            PostMessageW(box_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    std::vector<std::wstring> values_;
    int button_;
    HWND box_ = nullptr;
    std::thread thread_;
};

TEST_F(BudgetFixture, TheDialogStoresCancelsAndRefusesABadValue)
{
    {
        DialogDriver user({L"15", L"500,5", L"2048"}, IDOK);
        form1.BudgetClick();
        EXPECT_TRUE(user.formSeen);
        EXPECT_FALSE(user.boxSeen);
    }
    ASSERT_NE(FindBudget(engine, "eth0"), nullptr);
    EXPECT_EQ(FindBudget(engine, "eth0")->BillingDay, 15);
    EXPECT_EQ(FindBudget(engine, "eth0")->MoneyLimit, 500.5);
    EXPECT_EQ(FindBudget(engine, "eth0")->TrafficLimitMb, 2048);
    {
        DialogDriver user({L"1", L"1", L"1"}, IDCANCEL);
        form1.BudgetClick();
        EXPECT_TRUE(user.formSeen);
    }
    EXPECT_EQ(FindBudget(engine, "eth0")->BillingDay, 15) << "cancelled: nothing stored";
    {
        DialogDriver user({L"40", L"1", L"1"}, IDOK);
        form1.BudgetClick();
        EXPECT_TRUE(user.boxSeen) << "a day that does not read is said so";
    }
    EXPECT_EQ(FindBudget(engine, "eth0")->BillingDay, 15);

    form1.ost();
    EXPECT_EQ(folder.Read("budget.txt").substr(0, 20), "eth0|15|500,5|2048|2");
}

TEST_F(BudgetFixture, WarningsAreTrayBalloonsOneAtATime)
{
    AnswerBoxes();
    // Over both limits at the first tick: two balloons, the second after the first's time.
    engine.Budgets = ReadBudgets("eth0|1|0,0001|0,0001\r\n", ',');
    table.rows = {{"eth0", 5000, 5000}};
    form1.Timer1Timer();
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_EQ(balloons[0].dwInfoFlags, DWORD{NIIF_WARNING});
    EXPECT_EQ(std::wstring(balloons[0].szInfoTitle), ProgramText("Лимит исчерпан: Дом"));
    EXPECT_EQ(std::wstring(balloons[0].szInfo).find(ProgramText("Сумма за период")), 0u);
    form1.Timer1Timer();
    EXPECT_EQ(balloons.size(), 1u) << "each threshold once a period";
    SendMessageW(form2.Handle(), WM_TIMER, TForm2::BalloonTimer, 0);
    ASSERT_EQ(balloons.size(), 2u);
    EXPECT_EQ(std::wstring(balloons[1].szInfo).find(ProgramText("Трафик за период")), 0u);
    SendMessageW(form2.Handle(), WM_TIMER, TForm2::BalloonTimer, 0);
    EXPECT_EQ(balloons.size(), 2u);

    // A text longer than the balloon holds is cut, not overrun.
    form2.QueueBalloon(std::wstring(300, L'x'), std::wstring(600, L'y'));
    ASSERT_EQ(balloons.size(), 3u);
    EXPECT_EQ(std::wstring(balloons[2].szInfo).size(), ARRAYSIZE(balloons[2].szInfo) - 1);
    // What was shown is kept with the state at once.
    EXPECT_NE(folder.Read("budget.txt").find("|100|100"), std::string::npos);
}

TEST_F(BudgetFixture, TheExportWritesTheCsvInTheReportFolderAndOpensIt)
{
    form1.ExportCsvClick();
    const std::string csv = folder.Read("otchet/history.csv");
    EXPECT_EQ(csv, HistoryCsv(engine.HistoryTable, engine.TariffTable, ';', ',', [](const std::string& name) {
                  return Narrow(UserText(name), CP_UTF8);
              }));
    EXPECT_NE(csv.find(Narrow(ProgramText("Дом"), CP_UTF8)), std::string::npos);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, L"open");
    EXPECT_EQ(shell.calls[0].target, (folder.Path() / L"otchet" / L"history.csv").wstring());
}

// `reg query` of the Run value, as a user would check it: its exit code and output.
std::string RegQuery()
{
    wchar_t command[] = L"reg.exe query HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run /v Vornik";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    CreatePipe(&read, &write, &inherit, 0);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = start.hStdError = write;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &start, &process))
        return "reg.exe did not start";
    CloseHandle(write);
    std::string out;
    char buffer[512];
    DWORD n = 0;
    while (ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n)
        out.append(buffer, n);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(read);
    return out;
}

TEST_F(BudgetFixture, TheStartWithWindowsIsWrittenAndRemoved)
{
    AnswerBoxes();
    SetStartWithWindows(ExecutablePath(), false);
    ASSERT_FALSE(StartsWithWindows(ExecutablePath()));
    form2.AutoStartClick();
    EXPECT_TRUE(StartsWithWindows(ExecutablePath()));
    const std::string listed = RegQuery();
    EXPECT_NE(listed.find(FromUserText(L"\"" + ExecutablePath().wstring() + L"\"")), std::string::npos) << listed;
    // The test's files are not where a start with Windows keeps its own: the user is told where.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].Text.find("При запуске вместе с Windows"), std::string::npos);

    form2.AutoStartClick();
    EXPECT_FALSE(StartsWithWindows(ExecutablePath()));
    EXPECT_EQ(RegQuery().find("Vornik"), std::string::npos);
    EXPECT_EQ(boxes.size(), 1u) << "nothing to tell when it is turned off";
}

}  // namespace
