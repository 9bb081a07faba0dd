// The main window as the user works it: a tick drawn onto the panel, a right click on a
// block, the popup's commands answered through the program's boxes, the buttons, the banner.
#include <gtest/gtest.h>

#include <deque>

#include "mainwindow/Unit1.h"
#include "mainwindow/commands.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "platform/text_win.h"
#include "platform/user_data.h"
#include "temp_folder.h"
#include "tests/win/form1_parts.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

namespace {

struct MainWindowFixture : ::testing::Test, Form1Parts {
    std::vector<ModalBox> boxes;
    std::deque<std::optional<std::string>> answers;  // for input boxes; nullopt cancels
    UINT popupChoice = 0;
    POINT popupAt{};
    std::vector<std::vector<infos>> informerRows;

    void SetUp() override
    {
        SetModalFunction([this](ModalBox& box) {
            boxes.push_back(box);
            if (box.Kind != ModalKind::Input)
                return true;
            std::optional<std::string> answer = answers.front();
            answers.pop_front();
            if (answer)
                box.Value = *answer;
            return answer.has_value();
        });
        folder.Write("price.txt", "eth0|LAN>0@0\r\n");
        table.rows = {{"eth0", 1048576, 0}, {"ppp0", 1024, 0}};
        form1.Create();
        form1.TrackPopup = [this](HMENU, POINT at) {
            popupAt = at;
            return popupChoice;
        };
        form1.RefreshInformerList = [this](const std::vector<infos>& rows) { informerRows.push_back(rows); };
        form1.Timer1Timer();
    }
    void TearDown() override { SetModalFunction(nullptr); }

    // A right click on the panel at y, through the window's own message handling.
    void RightClick(int y, UINT choice)
    {
        popupChoice = choice;
        SendMessageW(form1.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, TForm1::BannerHeight + y));
    }
    const mtp& Entry(const char* name) { return engine.TariffTable[engine.TariffTable.Find(name)]; }
};

TEST_F(MainWindowFixture, ATickDrawsEveryConnectionAndHandsOverTheInformerRows)
{
    ASSERT_EQ(informerRows.size(), 1u);
    ASSERT_EQ(informerRows[0].size(), 2u);
    EXPECT_EQ(informerRows[0][0].Title, "LAN.   ");
    EXPECT_EQ(informerRows[0][0].Traffic, "1024,0 Kb");
    EXPECT_TRUE(engine.InformerRows.empty());  // the rows live for one tick
    EXPECT_EQ(engine.HistoryTable[2].BlockTop, 82);
    RECT r;
    GetWindowRect(form1.Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, 290);  // grown for the second block
    EXPECT_GE(form1.Panel().Height(), 82 + 78);
}

TEST_F(MainWindowFixture, RightClickSelectsTheBlockAndOpensTheMenuBelowThePointer)
{
    RightClick(85, 0);
    EXPECT_EQ(engine.SelectedConnection, "ppp0");
    RECT outer;
    GetWindowRect(form1.Handle(), &outer);
    EXPECT_EQ(popupAt.x, outer.left + 30);
    EXPECT_EQ(popupAt.y, outer.top + 85 + 20);
    RightClick(81, 0);
    EXPECT_EQ(engine.SelectedConnection, "eth0");
    SendMessageW(form1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, TForm1::BannerHeight + 85));
    SendMessageW(form1.Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(30, TForm1::BannerHeight + 85));
    EXPECT_EQ(engine.SelectedConnection, "eth0");
}

TEST_F(MainWindowFixture, SetPriceThroughTheMenu)
{
    answers = {"2,5", "0.5"};
    RightClick(10, TForm1::IdSetPrice);
    EXPECT_EQ(Entry("eth0").PriceIn, 2.5);
    EXPECT_EQ(Entry("eth0").PriceOut, 0.5);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Caption, "Vornik V1.5");
    EXPECT_EQ(boxes[0].Text, "Введите цену за 1 мб входящего трафика в рублях ");
    EXPECT_EQ(boxes[0].Value, "1,5");  // the default offered

    boxes.clear();
    answers = {std::nullopt, std::nullopt};
    RightClick(10, TForm1::IdSetPrice);
    EXPECT_EQ(Entry("eth0").PriceIn, 2.5);  // cancel keeps the prices

    boxes.clear();
    answers = {"дорого"};
    RightClick(10, TForm1::IdSetPrice);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Kind, ModalKind::Error);
    EXPECT_EQ(boxes[1].Text, "'" + UserData("дорого") + "' is not a valid floating point value");
    EXPECT_EQ(Entry("eth0").PriceIn, 2.5);
}

TEST_F(MainWindowFixture, RenameThroughTheMenuShowsOnTheNextTick)
{
    answers = {"Домашний интернет с длинным именем"};
    RightClick(85, TForm1::IdRename);
    EXPECT_EQ(Entry("ppp0").Alias, "Домашний интернет с длинным именем");
    form1.Timer1Timer();
    EXPECT_EQ(informerRows.back()[1].Title, "Домашний интернет.   ");
}

TEST_F(MainWindowFixture, MailAndHelpOpenThroughTheShell)
{
    SendMessageW(form1.Handle(), WM_COMMAND, TForm1::IdButton3, 0);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, L"open");
    EXPECT_EQ(shell.calls[0].target, ProgramText(MailAuthorLink()));
    EXPECT_TRUE(boxes.empty());
    shell.result = 2;
    SendMessageW(form1.Handle(), WM_COMMAND, TForm1::IdButton3, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Не удалось написать письмо автору.");

    SendMessageW(form1.Handle(), WM_COMMAND, TForm1::IdButton4, 0);
    EXPECT_EQ(shell.calls.back().target, (folder.Path() / L"help" / L"help_me.htm").wstring());
    EXPECT_EQ(shell.calls.back().show, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(boxes.size() == 1u);  // help reports nothing
}

TEST_F(MainWindowFixture, TheBannerRotatesAndKeepsItsPictureWhenAFileIsMissingOrBroken)
{
    std::filesystem::create_directories(folder.Path() / "ban");
    std::filesystem::copy_file(VORNIK_ASSETS "/ban/ban0001.jpg", folder.Path() / "ban" / "ban0001.jpg");
    std::filesystem::copy_file(VORNIK_ASSETS "/ban/ban0004.jpg", folder.Path() / "ban" / "ban0004.jpg");
    folder.Write("ban/ban0003.jpg", "\xff\xd8\xff\xe0 not really a jpeg");
    // ban0002.jpg is missing
    std::vector<uint8_t> start = form1.BannerPicture().Pixels;
    EXPECT_EQ(form1.BannerPicture().Width, 728);  // the picture stored with the window

    std::vector<std::vector<uint8_t>> seen;
    for (int tick = 1; tick <= 5; ++tick) {
        SendMessageW(form1.Handle(), WM_TIMER, TForm1::bantm, 0);
        seen.push_back(form1.BannerPicture().Pixels);
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(form1.BannerStep(), 1);  // 1, 2, 3, 4, 1
    EXPECT_NE(seen[0], start);
    EXPECT_EQ(seen[1], seen[0]);  // missing: kept
    EXPECT_EQ(seen[2], seen[0]);  // broken: kept
    EXPECT_NE(seen[3], seen[0]);
    EXPECT_EQ(seen[4], seen[0]);
}

}  // namespace
