// A connection's alias in the system's ANSI code page, as a German (1252) or Chinese (936)
// Windows has it (run under each by ctest): from "price.txt" to the panel, the informer, a box
// and the report, every character stays itself.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "informer/winfast.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/commands.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "platform/profile_store.h"
#include "platform/text_win.h"
#include "platform/user_data.h"
#include "report/history_report.h"
#include "temp_folder.h"
#include "tests/win/form1_parts.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

namespace {

// An alias of letters this code page has and Windows-1251 has not (or, under 1251, Cyrillic).
std::wstring AliasOfThisCodePage()
{
    switch (GetACP()) {
    case 1252: return L"Z\x00e4hler Stra\x00df" L"e";
    case 936: return L"\x4e2d\x56fd\x7535\x4fe1\x79fb\x52a8\x5bbd\x5e26\x8fde\x63a5\x5929\x7ffc\x0034\x0047\x6d41\x91cf\x5361\x7f51";
    default: return L"\x041c\x043e\x0434\x0435\x043c \x041c\x0422\x0421";
    }
}

struct UserTextFixture : ::testing::Test, Form1Parts {
    Win32ProfileStore profiles;
    TForm2 form2{folder.Path(), folder.Path(), profiles, store};
    std::vector<infos> rows;
    std::vector<ModalBox> boxes;
    const std::wstring alias = AliasOfThisCodePage();
    const std::string aliasBytes = FromUserText(alias);

    void SetUp() override
    {
        if (const char* expected = std::getenv("VORNIK_EXPECTED_ACP")) {
            ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected))) << "Wine did not take the code page";
        }
        ASSERT_EQ(UserText(aliasBytes), alias) << "the code page cannot hold the test's alias";
        SetModalFunction([this](ModalBox& box) {
            boxes.push_back(box);
            return true;
        });
        folder.Write("price.txt", "eth0|" + aliasBytes + ">1,5@0\r\n");
        table.rows = {{"eth0", 1000, 500}};
        form2.Create(nullptr);
        form2.WorkArea = [] { return ScreenRect{0, 0, 4000, 4000}; };
        form2.ShowInformer();
        form1.RefreshInformerList = [this](const std::vector<infos>& shown) {
            rows = shown;
            form2.RefreshInformerList(shown);
        };
        form1.Create();
        form1.Show();
        form1.Timer1Timer();
    }
    void TearDown() override
    {
        form1.StopSampling();
        if (form2.Handle())
            DestroyWindow(form2.Handle());
        SetModalFunction(nullptr);
    }
};

TEST_F(UserTextFixture, AnAliasStaysItselfEverywhere)
{
    // The informer: at most 17 characters, none cut in half.
    ASSERT_EQ(rows.size(), 1u);
    const std::wstring title = alias.substr(0, 17) + L".   ";
    EXPECT_EQ(UserText(rows[0].Title), title);
    wchar_t shown[256] = L"";
    LVITEMW item{};
    item.pszText = shown;
    item.cchTextMax = 256;
    SendMessageW(form2.ListView1(), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(shown), title);

    // A box naming it.
    RenameCommand(engine.TariffTable, aliasBytes, PromptUi{[this](const std::string& text) {
                                                       boxes.push_back(ModalBox{ModalKind::Plain, "", text, "", {}});
                                                   },
                                                   [](const std::string&, const std::string&, std::string& answer) {
                                                       answer = "x";
                                                       return true;
                                                   },
                                                   {}});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(BoxText(boxes[0].Text), ProgramText("Ошиибка доступа к ") + alias);

    // The report: the page is Windows-1251, the alias's other letters are references.
    engine.SelectedConnection = "eth0";
    form1.N2Click();
    const std::string page = folder.Read("otchet/history.htm");
    EXPECT_NE(page.find(UnicodeToPage(CodePoints(alias))), std::string::npos);
    if (GetACP() != 1251) {
        EXPECT_NE(UnicodeToPage(CodePoints(alias)).find("&#"), std::string::npos);
    }

    // And back into "price.txt" as it was read.
    form1.ost();
    EXPECT_NE(folder.Read("price.txt").find("eth0|" + aliasBytes + ">"), std::string::npos);
}

TEST(BoxText, ShowsProgramTextAndUserDataEachInItsCodePage)
{
    const std::wstring alias = AliasOfThisCodePage();
    EXPECT_EQ(BoxText("'" + UserData(FromUserText(alias)) + "' is not a valid floating point value"),
              L"'" + alias + L"' is not a valid floating point value");
    EXPECT_EQ(BoxText("Сохранено: " + UserData(FromUserText(alias)) + ", " + UserData("x")),
              ProgramText("Сохранено: ") + alias + L", x");
    EXPECT_EQ(BoxText("Без конца " + std::string(1, UserDataBegin) + "abc"), ProgramText("Без конца ") + L"abc");
}

}  // namespace
