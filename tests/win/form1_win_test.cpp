// TForm1 and TForm2 with a scripted interface table, fake boxes and a fake clock: start-up,
// ticks, the periodic save and every way out, checked in the files they leave.
#include <gtest/gtest.h>

#include "informer/winfast.h"
#include "mainwindow/Unit1.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "platform/profile_store.h"
#include "temp_folder.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

namespace {

// Refuses every save while `broken` is set.
class BreakableStore : public AtomicFileStore {
public:
    bool broken = false;
    int saves = 0;
    void SavePieces(const std::filesystem::path& file, const FilePieces& next) override
    {
        ++saves;
        if (broken)
            throw std::runtime_error("Не удалось сохранить файл " + file.filename().string());
        AtomicFileStore::SavePieces(file, next);
    }
};

struct Form1Fixture : ::testing::Test {
    TempFolder folder;
    FakeIfTable table;
    FakeClock clock;
    CommaRegional regional;
    BreakableStore store;
    FakeShell shell;
    Engine engine{table};
    TForm1 form1{engine, clock, regional, store, shell, folder.Path(), folder.Path()};
    std::vector<ModalBox> boxes;
    bool answer = false;

    void SetUp() override
    {
        SetModalFunction([this](ModalBox& box) {
            boxes.push_back(box);
            return answer;
        });
    }
    void TearDown() override { SetModalFunction(nullptr); }
    std::string History() const { return folder.Read("history.txt"); }
};

TEST_F(Form1Fixture, StartTickAndExitWriteBothFiles)
{
    folder.Write("price.txt", "eth0|LAN>1,5@2\r\n");
    table.rows = {{"eth0", 100, 50}, {"lo", 7, 7}};
    form1.Create();
    EXPECT_TRUE(form1.Sampling());
    EXPECT_FALSE(IsWindowVisible(form1.Handle()));
    form1.Timer1Timer();
    table.rows = {{"eth0", 150, 70}, {"lo", 7, 7}};
    form1.Timer1Timer();

    ASSERT_TRUE(form1.ost());
    EXPECT_FALSE(table.Loaded());
    EXPECT_EQ(History(), "SHOW=\r\nform1.width=" + std::to_string(form1.OuterWidth()) +
                             "\r\n6.12.2026-0\t150       \t70        \teth0\r\n"
                             "6.12.2026-0\t7         \t7         \tlo\r\n");
    EXPECT_EQ(folder.Read("price.txt"), "eth0|LAN>1,5@2\r\nlo|lo>0@0\r\n");  // drawn connections get entries
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Form1Fixture, TheStoredWidthIsApplied)
{
    folder.Write("history.txt", "form1.width=900\r\n");
    form1.Create();
    EXPECT_EQ(form1.OuterWidth(), 900);
}

TEST_F(Form1Fixture, AnIdleStartLeavesTheFilesExactlyAsTheyWere)
{
    folder.Write("history.txt", "keep me");
    table.libraryPresent = false;
    form1.Create();
    EXPECT_FALSE(form1.Sampling());
    EXPECT_TRUE(form1.ost());
    EXPECT_EQ(History(), "keep me");
    EXPECT_FALSE(folder.Exists("price.txt"));
}

TEST_F(Form1Fixture, AnUnreadableHistoryStopsTheStartWithAMessageAndIsNotOverwritten)
{
    std::filesystem::create_directory(folder.Path() / "history.txt");
    form1.Create();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Kind, ModalKind::Error);
    EXPECT_FALSE(form1.Sampling());
    EXPECT_TRUE(form1.ost());
    EXPECT_EQ(store.saves, 0);
}

TEST_F(Form1Fixture, WithoutGetIfTableTheTimerRunsButSamplesNothing)
{
    table.entryPresent = false;
    table.rows = {{"eth0", 1, 1}};
    form1.Create();
    EXPECT_TRUE(form1.Sampling());
    form1.Timer1Timer();
    EXPECT_EQ(engine.HistoryTable.HistoryCount(), 0);
}

TEST_F(Form1Fixture, AnErrorInTheTickIsShownOnceAndSamplingGoesOn)
{
    table.rows = {{"eth0", 1, 1}};
    form1.Create();
    form1.RefreshInformerList = [](const std::vector<infos>&) { throw std::runtime_error("broken list"); };
    form1.Timer1Timer();
    table.rows = {{"eth0", 2, 2}};
    form1.Timer1Timer();
    EXPECT_TRUE(form1.Sampling());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "broken list");
    EXPECT_EQ(engine.HistoryTable[1].InOctets, 2u);
}

TEST_F(Form1Fixture, SavesEveryFiveMinutesAndBeforeSleep)
{
    table.rows = {{"eth0", 1, 1}};
    form1.Create();
    form1.Timer1Timer();
    EXPECT_FALSE(folder.Exists("history.txt"));
    clock.ms += TForm1::SaveInterval;
    form1.Timer1Timer();
    EXPECT_NE(History().find("\t1         \t1         \teth0"), std::string::npos);
    EXPECT_TRUE(table.Loaded());  // sampling goes on

    table.rows = {{"eth0", 5, 5}};
    form1.Timer1Timer();
    SendMessageW(form1.Handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_NE(History().find("\t5         \t5         \teth0"), std::string::npos);
}

TEST_F(Form1Fixture, AFailedExitSaveLetsTheUserStayAndSamplingGoesOn)
{
    folder.Write("history.txt", "SHOW=\r\nform1.width=800\r\n");
    table.rows = {{"eth0", 1, 1}};
    form1.Create();
    form1.Timer1Timer();
    store.broken = true;
    answer = false;  // "stay"
    EXPECT_FALSE(form1.ost());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Kind, ModalKind::YesNo);
    EXPECT_EQ(History(), "SHOW=\r\nform1.width=800\r\n");
    table.rows = {{"eth0", 9, 9}};
    form1.Timer1Timer();
    EXPECT_EQ(engine.HistoryTable[1].InOctets, 9u);

    store.broken = false;
    EXPECT_TRUE(form1.ost());
    EXPECT_NE(History().find("\t9         \t9         \teth0"), std::string::npos);
}

struct Form2Fixture : Form1Fixture {
    Win32ProfileStore profiles;
    TForm2 form2{folder.Path(), folder.Path(), profiles, store};
    int exits = 0;
    void SetUp() override
    {
        Form1Fixture::SetUp();
        form2.ost = [this] {
            ++exits;
            return form1.ost();
        };
        form2.ResumeSampling = [this] { form1.ResumeSampling(); };
        form2.Create(nullptr);
        table.rows = {{"eth0", 3, 4}};
        form1.Create();
        form1.Timer1Timer();
    }
};

TEST_F(Form2Fixture, ClosingTheInformerSavesOnceAndEndsTheMessageLoop)
{
    SendMessageW(form2.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(IsWindow(form2.Handle()));  // not destroyed by the close
    EXPECT_TRUE(QuitPosted());
    EXPECT_NE(History().find("eth0"), std::string::npos);
}

TEST_F(Form2Fixture, LogOffSavesAndACalledOffShutDownResumesSampling)
{
    EXPECT_EQ(SendMessageW(form2.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(table.Loaded());
    EXPECT_NE(History().find("\t3         \t4         \teth0"), std::string::npos);

    SendMessageW(form2.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(table.HasEntry());
    table.rows = {{"eth0", 30, 40}};
    form1.Timer1Timer();
    EXPECT_EQ(engine.HistoryTable[1].InOctets, 30u);
    EXPECT_FALSE(QuitPosted());
}

TEST_F(Form2Fixture, ClosingTheMainWindowOnlyHidesIt)
{
    form1.Show();
    SendMessageW(form1.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form1.Handle()));
    EXPECT_FALSE(IsWindowVisible(form1.Handle()));
    EXPECT_EQ(exits, 0);
    EXPECT_FALSE(folder.Exists("history.txt"));
    EXPECT_FALSE(QuitPosted());
}

}  // namespace
