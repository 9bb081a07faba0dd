// The informer, its column and transparency dialogs and the connection chooser, worked as a
// user works them: the tray icon's messages, the menus, the tick's rows, the dialogs'
// controls; checked in the list view, the window's size and opacity, and the files left.
#include <gtest/gtest.h>

#include "informer/NForm.h"
#include "informer/NOF.h"
#include "informer/hidden_connections.h"
#include "informer/set_pr.h"
#include "informer/winfast.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "platform/profile_store.h"
#include "platform/text_win.h"
#include "platform/user_data.h"
#include "temp_folder.h"

#include <commctrl.h>

namespace {

// Counts the saves of the five settings (each ends with "TPRZ").
class CountingProfileStore : public Win32ProfileStore {
public:
    int settingsSaves = 0;
    void Write(const std::filesystem::path& file, const std::string& section, const std::string& key,
               const std::string& value) override
    {
        Win32ProfileStore::Write(file, section, key, value);
        if (key == "TPRZ")
            ++settingsSaves;
    }
};

infos Row(const char* title, uint8_t visible = 1)
{
    infos row;
    row.Title = title;
    row.Conn = title;
    row.Traffic = std::string(title) + " Kb";
    row.Sum = "0,00 руб.";
    row.Speed = " 0,0  Kbit/s";
    row.Visible = visible;
    return row;
}

int ScreenPixelsPerInch()
{
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi;
}

struct InformerFixture : ::testing::Test {
    TempFolder work;
    TempFolder windows;  // where an earlier version kept its settings
    CountingProfileStore profiles;
    AtomicFileStore store;
    TForm2 form2{work.Path(), windows.Path(), profiles, store};
    std::vector<ModalBox> boxes;

    void SetUp() override
    {
        SetModalFunction([this](ModalBox& box) {
            boxes.push_back(box);
            return true;
        });
        form2.Create(nullptr);
    }
    void TearDown() override
    {
        // Destroyed while the boxes are still answered: the end of the run may save.
        if (form2.Handle())
            DestroyWindow(form2.Handle());
        SetModalFunction(nullptr);
    }

    RECT Outer() const
    {
        RECT r;
        GetWindowRect(form2.Handle(), &r);
        return r;
    }
    int Width() const { return Outer().right - Outer().left; }
    int Height() const { return Outer().bottom - Outer().top; }
    int ItemCount() const { return static_cast<int>(SendMessageW(form2.ListView1(), LVM_GETITEMCOUNT, 0, 0)); }
    std::wstring ItemText(int item, int subItem) const
    {
        wchar_t text[256] = L"";
        LVITEMW lv{};
        lv.iSubItem = subItem;
        lv.pszText = text;
        lv.cchTextMax = 256;
        SendMessageW(form2.ListView1(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
        return text;
    }
    // The opacity as the window system holds it (Xvfb draws no translucency).
    int Alpha() const
    {
        BYTE alpha = 0;
        DWORD flags = 0;
        GetLayeredWindowAttributes(form2.Handle(), nullptr, &alpha, &flags);
        return flags & LWA_ALPHA ? alpha : -1;
    }
    std::string Ini(const char* section, const char* key) { return profiles.Read(form2.SettingsFile(), section, key); }
    void MiddleClickInTheList() { SendMessageW(form2.ListView1(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(20, 20)); }
    void DoubleClickTheTrayIcon() { SendMessageW(form2.Handle(), TForm2::TrayMessage, 1, WM_LBUTTONDBLCLK); }
};

TEST_F(InformerFixture, RefreshInformerListFillsTheShownRowsAndFitsTheHeight)
{
    form2.N7Click();
    ASSERT_TRUE(form2.Visible());
    int chrome = -1;  // the caption, header and frame: the same at every step
    struct Step {
        const char* name;
        bool hideFirst;
        std::vector<infos> rows;
        std::vector<std::wstring> titles;
        uint8_t showing;
    };
    const Step steps[] = {
        {"four shown rows", false, {Row("a"), Row("b"), Row("c"), Row("d")}, {L"a", L"b", L"c", L"d"}, 1},
        {"a row hidden by nast_o.txt uses no item", false, {Row("a"), Row("b", 0), Row("c"), Row("d")},
         {L"a", L"c", L"d"}, 1},
        {"one connection fewer", false, {Row("a"), Row("d")}, {L"a", L"d"}, 1},
        {"no shown connection", false, {Row("a", 0)}, {}, 1},
        {"refilled", false, {Row("e"), Row("f")}, {L"e", L"f"}, 1},
        {"the informer hidden: emptied", true, {Row("e"), Row("f")}, {}, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.hideFirst)
            form2.Form1N10Click();
        // An item kept in place keeps its selection; a deleted and re-added one would lose it.
        const bool firstItemKept = ItemCount() > 0 && !step.titles.empty();
        LVITEMW selected{};
        selected.stateMask = selected.state = LVIS_SELECTED;
        SendMessageW(form2.ListView1(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));

        form2.RefreshInformerList(step.rows);
        ASSERT_EQ(ItemCount(), static_cast<int>(step.titles.size()));
        for (int i = 0; i < ItemCount(); ++i) {
            EXPECT_EQ(ItemText(i, 0), step.titles[static_cast<std::size_t>(i)]);
            EXPECT_EQ(ItemText(i, 1), step.titles[static_cast<std::size_t>(i)] + L" Kb");
            EXPECT_EQ(ItemText(i, 2), ProgramText("0,00 руб."));
            EXPECT_EQ(ItemText(i, 3), L"0,0  Kbit/s");
        }
        if (firstItemKept) {
            EXPECT_EQ(SendMessageW(form2.ListView1(), LVM_GETITEMSTATE, 0, LVIS_SELECTED), LVIS_SELECTED);
        }
        // Exactly its rows: 17 px each at 96 dpi, and the same caption, header and frame.
        if (chrome < 0)
            chrome = Height() - 17 * ItemCount();
        EXPECT_EQ(Height() - 17 * ItemCount(), chrome);
        EXPECT_EQ(form2.InformerShowing, step.showing);
    }
}

TEST_F(InformerFixture, FormShowTakesTheWidthsAndOpacityFromTheSettingsFile)
{
    struct Case {
        const char* ini;  // nullptr: no file
        std::array<int, 4> widths;
        int alpha;
    };
    const Case cases[] = {
        {nullptr, {100, 90, 75, 75}, 150},
        {"[SIZEPOL]\r\nTPRZ=300\r\n", {100, 90, 75, 75}, 44},
        {"[SIZEPOL]\r\nTPRZ=0x20\r\n", {100, 90, 75, 75}, 32},
        {"[SIZEPOL]\r\nTPRZ=abc\r\n", {100, 90, 75, 75}, 150},
        {"[SIZEPOL]\r\nTPRZ=10\r\n", {100, 90, 75, 75}, 26},  // never shown invisible
        {"[SIZEPOL]\r\nTNAME=120\r\nTTRAF=0\r\nTSUM=0\r\nTSPD=0\r\nTPRZ=255\r\n", {120, 0, 0, 0}, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini ? c.ini : "<missing>");
        std::filesystem::remove(form2.SettingsFile());
        if (c.ini)
            work.Write("vrn15.ini", c.ini);
        form2.FormShow();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(form2.ColumnWidth(i), c.widths[static_cast<std::size_t>(i)]);
        EXPECT_EQ(Alpha(), c.alpha);
        EXPECT_EQ(Width(), c.widths[0] + c.widths[1] + c.widths[2] + c.widths[3] + 13);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InformerFixture, EveryShowPutsTheWindowBackWhereItWasSaved)
{
    std::string ppi = std::to_string(ScreenPixelsPerInch());
    work.Write("vrn15.ini", "[TForm2]\r\nNormPos=200,150,201,151\r\nPixelsPerInch=" + ppi + "\r\n");
    form2.N7Click();
    EXPECT_EQ(Outer().left, 200);
    EXPECT_EQ(Outer().top, 150);
    EXPECT_EQ(Width(), 353);  // its own size, not the stored one

    // Moved, hidden through "Главная форма" (which saves nothing) and shown again.
    SetWindowPos(form2.Handle(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form2.Form1N10Click();
    form2.N7Click();
    EXPECT_EQ(Outer().left, 200);

    SetWindowPos(form2.Handle(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form2.save_size_position();
    EXPECT_EQ(Ini("TForm2", "NormPos").rfind("400,300,", 0), 0u);
    EXPECT_EQ(Ini("TForm2", "PixelsPerInch"), ppi);
    EXPECT_EQ(Ini("TForm2", "Visible"), "0");
    EXPECT_EQ(Ini("TForm2", "FormVersion"), "0");

    // Kept for another screen: not applied on this one.
    work.Write("vrn15.ini", "[TForm2]\r\nNormPos=10,10,11,11\r\nPixelsPerInch=1\r\n");
    form2.Form1N10Click();
    form2.N7Click();
    EXPECT_EQ(Outer().left, 400);
}

TEST_F(InformerFixture, ThePlacementIsSavedOnlyOnceShownAndOnceMoreAtTheEnd)
{
    form2.save_size_position();  // not shown in this run yet
    EXPECT_EQ(Ini("TForm2", "NormPos"), "");
    EXPECT_EQ(Ini("SIZEPOL", "TPRZ"), "150");
    std::filesystem::remove(form2.SettingsFile());

    {
        TForm2 neverShown(work.Path(), windows.Path(), profiles, store);
        neverShown.Create(nullptr);
    }
    EXPECT_FALSE(work.Exists("vrn15.ini"));

    {
        TForm2 shownUnsaved(work.Path(), windows.Path(), profiles, store);
        shownUnsaved.Create(nullptr);
        shownUnsaved.N7Click();
        SetWindowPos(shownUnsaved.Handle(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    EXPECT_EQ(Ini("TForm2", "Visible"), "1");
    EXPECT_EQ(Ini("TForm2", "NormPos").rfind("300,200,", 0), 0u);
    EXPECT_EQ(Ini("SIZEPOL", "TPRZ"), "");  // the placement alone

    // Log-off ends the process without destroying the window: saved there.
    std::filesystem::remove(form2.SettingsFile());
    form2.N7Click();
    SendMessageW(form2.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(Ini("TForm2", "Visible"), "1");

    // Closed: saved as it stands after the state writer; the end of the run adds nothing.
    std::filesystem::remove(form2.SettingsFile());
    form2.Form1N10Click();
    form2.N7Click();
    form2.ost = [] { return true; };
    SendMessageW(form2.Handle(), WM_CLOSE, 0, 0);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(Ini("TForm2", "Visible"), "0");
    DestroyWindow(form2.Handle());
    EXPECT_EQ(Ini("TForm2", "Visible"), "0");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InformerFixture, SettingsOfAnEarlierVersionAreTakenOver)
{
    windows.Write("vrn15.ini", "[SIZEPOL]\r\nTNAME=140\r\nTPRZ=77\r\n[TForm2]\r\nNormPos=120,130,0,0\r\n");
    form2.N7Click();
    EXPECT_EQ(form2.ColumnWidth(0), 140);
    EXPECT_EQ(Alpha(), 77);
    EXPECT_EQ(Outer().left, 120);
    EXPECT_FALSE(work.Exists("vrn15.ini"));  // a show writes nothing

    // The end of the run saves the placement alone; the earlier values come along.
    DestroyWindow(form2.Handle());
    EXPECT_EQ(Ini("SIZEPOL", "TNAME"), "140");
    EXPECT_EQ(Ini("SIZEPOL", "TPRZ"), "77");
    EXPECT_EQ(Ini("TForm2", "Visible"), "1");

    // From now on the working folder's file is the one read.
    windows.Write("vrn15.ini", "[SIZEPOL]\r\nTPRZ=99\r\n");
    TForm2 next(work.Path(), windows.Path(), profiles, store);
    next.Create(nullptr);
    next.FormShow();
    EXPECT_EQ(next.Opacity(), 77);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InformerFixture, TrayDoubleClickInItsUsualAndRacingCases)
{
    struct Case {
        const char* name;
        bool shownAtTick;   // what the last tick saw (InformerShowing)
        bool shownAtClick;  // what the double click meets
        bool shownAfter;
        bool saved;
    };
    const Case cases[] = {
        {"shown: hidden and saved", true, true, false, true},
        {"hidden: shown", false, false, true, false},
        {"shown by the menu within the second: stays shown", false, true, true, false},
        {"hidden through Главная форма within the second: stays hidden, saved", true, false, false, true},
    };
    int mainFormShown = 0;
    form2.ShowMainForm = [&] { ++mainFormShown; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.shownAtTick != form2.Visible())
            c.shownAtTick ? form2.N7Click() : form2.Form1N10Click();
        form2.RefreshInformerList({Row("eth0")});
        if (c.shownAtClick != form2.Visible())
            c.shownAtClick ? form2.N7Click() : form2.Form1N10Click();
        std::filesystem::remove(form2.SettingsFile());

        DoubleClickTheTrayIcon();
        EXPECT_EQ(form2.Visible(), c.shownAfter);
        EXPECT_EQ(work.Exists("vrn15.ini"), c.saved);
        if (c.saved) {
            EXPECT_NE(Ini("TForm2", "NormPos"), "");
        }
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InformerFixture, TheMenusReachTheirCommands)
{
    std::vector<std::wstring> captions;
    UINT choice = 0;
    form2.TrackPopup = [&](HMENU menu, POINT) {
        captions.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = L"";
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            captions.push_back(text);
        }
        return choice;
    };
    std::vector<std::string> calls;
    form2.ShowColumnDialog = [&] { calls.push_back("TForm4"); };
    form2.ShowChooser = [&] { calls.push_back("TForm5"); };
    form2.ShowTransparencyDialog = [&] { calls.push_back("TForm6"); };
    form2.ShowMainForm = [&] { calls.push_back("TForm1"); };

    for (UINT command : {UINT{TForm2::IdColumns}, UINT{TForm2::IdChooser}, UINT{TForm2::IdTransparency}, UINT{0}}) {
        choice = command;
        SendMessageW(form2.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form2.ListView1()), MAKELPARAM(5, 5));
    }
    EXPECT_EQ(captions, (std::vector<std::wstring>{ProgramText("Настройка полей"), L"", ProgramText("Настройка отображения"),
                                                   L"", ProgramText("Настройка прозрачности")}));
    EXPECT_EQ(calls, (std::vector<std::string>{"TForm4", "TForm5", "TForm6"}));

    choice = TForm2::IdInformer;
    SendMessageW(form2.Handle(), TForm2::TrayMessage, 1, WM_RBUTTONUP);
    EXPECT_EQ(captions, (std::vector<std::wstring>{ProgramText("Главная форма"), L"", ProgramText("Информер"), L"",
                                                   ProgramText("Запускать вместе с Windows"), L"", ProgramText("Выход")}));
    EXPECT_TRUE(form2.Visible());
    choice = TForm2::IdMainForm;
    SendMessageW(form2.Handle(), TForm2::TrayMessage, 1, WM_RBUTTONUP);
    EXPECT_FALSE(form2.Visible());
    EXPECT_EQ(calls.back(), "TForm1");
    EXPECT_FALSE(work.Exists("vrn15.ini"));  // neither way saves
}

TEST_F(InformerFixture, ARightClickOnTheColumnHeaderOpensTheListsMenu)
{
    int menus = 0;
    form2.TrackPopup = [&](HMENU, POINT) {
        ++menus;
        return 0u;
    };
    form2.N7Click();
    form2.RefreshInformerList({});  // no connection listed: the header is all there is
    HWND header = reinterpret_cast<HWND>(SendMessageW(form2.ListView1(), LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(header);
    SendMessageW(header, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 5));
    SendMessageW(header, WM_RBUTTONUP, 0, MAKELPARAM(10, 5));
    EXPECT_EQ(menus, 1);
}

TEST_F(InformerFixture, TheTrayIconIsTriedAgainUntilTheShellTakesIt)
{
    // A new informer whose shell refuses the icon twice, as at log-on.
    TempFolder other;
    TForm2 late{other.Path(), windows.Path(), profiles, store};
    int refusals = 2;
    std::vector<DWORD> calls;
    late.NotifyIcon = [&](DWORD message, NOTIFYICONDATAW*) {
        calls.push_back(message);
        return message == NIM_ADD && refusals-- <= 0;
    };
    late.Create(nullptr);
    EXPECT_FALSE(late.TrayIconShown());
    SendMessageW(late.Handle(), WM_TIMER, TForm2::TrayRetryTimer, 0);
    EXPECT_FALSE(late.TrayIconShown());
    SendMessageW(late.Handle(), WM_TIMER, TForm2::TrayRetryTimer, 0);
    EXPECT_TRUE(late.TrayIconShown());
    EXPECT_EQ(calls, (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY, NIM_ADD}));
    // The shell restarted: the icon is added again.
    SendMessageW(late.Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(calls.back(), DWORD{NIM_ADD});
    DestroyWindow(late.Handle());
}

TEST_F(InformerFixture, ASecondStartShowsTheHiddenInformer)
{
    ASSERT_FALSE(form2.Visible());
    SendMessageW(form2.Handle(), ShowInformerMessage(), 0, 0);
    EXPECT_TRUE(form2.Visible());
    ShowWindow(form2.Handle(), SW_MINIMIZE);
    SendMessageW(form2.Handle(), ShowInformerMessage(), 0, 0);
    EXPECT_FALSE(IsIconic(form2.Handle()));
}

TEST_F(InformerFixture, LogOffKeepsThePlacementAsAnExitDoesAndAMaximisedOneShowsNormal)
{
    form2.ost = [] { return true; };
    form2.N7Click();
    SetWindowPos(form2.Handle(), nullptr, 123, 87, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form2.save_size_position();
    SetWindowPos(form2.Handle(), nullptr, 201, 99, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // moved after the save
    ASSERT_TRUE(SendMessageW(form2.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    SendMessageW(form2.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(Ini("TForm2", "NormPos").substr(0, 7), "201,99,");

    profiles.Write(form2.SettingsFile(), "TForm2", "ShowCmd", "3");
    form2.Hide();
    form2.ShowInformer();
    EXPECT_TRUE(form2.Visible());
    EXPECT_FALSE(IsZoomed(form2.Handle()));
}

TEST_F(InformerFixture, AClickInTheListRefitsTheWidthAndSaves)
{
    form2.N7Click();
    SendMessageW(form2.ListView1(), LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(150, 0));  // a divider dragged
    MiddleClickInTheList();
    EXPECT_EQ(Width(), 100 + 150 + 75 + 75 + 13);
    EXPECT_EQ(Ini("SIZEPOL", "TTRAF"), "150");
    EXPECT_EQ(Ini("SIZEPOL", "TPRZ"), "150");
    EXPECT_NE(Ini("TForm2", "NormPos"), "");
    EXPECT_TRUE(boxes.empty());

    // A settings file that cannot be written: the error names it; the width is already fitted.
    // (Held open without sharing: as root under Wine the read-only attribute stops no write.)
    HANDLE held = CreateFileW(form2.SettingsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SendMessageW(form2.ListView1(), LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(50, 0));
    MiddleClickInTheList();
    CloseHandle(held);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Kind, ModalKind::Error);
    EXPECT_EQ(boxes[0].Text, "Unable to write to " + UserData(FromUserText(form2.SettingsFile().wstring())));
    EXPECT_EQ(Width(), 100 + 50 + 75 + 75 + 13);
    EXPECT_EQ(Ini("SIZEPOL", "TTRAF"), "150");
}

TEST_F(InformerFixture, ColumnDialogHidesAndShowsColumns)
{
    work.Write("vrn15.ini", "[SIZEPOL]\r\nTTRAF=0\r\nTSUM=0\r\nTPRZ=90\r\n");
    form2.N7Click();
    TForm4 form4(form2);
    form4.Create();
    auto checked = [&](int column) { return SendMessageW(form4.CheckBox(column), BM_GETCHECK, 0, 0) == BST_CHECKED; };

    // The boxes of the 0 px columns are unchecked, each running its handler: two saves.
    form4.ShowDialog();
    EXPECT_FALSE(checked(1));
    EXPECT_FALSE(checked(2));
    EXPECT_TRUE(checked(3));
    EXPECT_EQ(profiles.settingsSaves, 2);
    EXPECT_EQ(Ini("SIZEPOL", "TTRAF"), "0");
    EXPECT_EQ(Ini("SIZEPOL", "TSPD"), "75");
    EXPECT_EQ(Ini("SIZEPOL", "TPRZ"), "90");
    EXPECT_EQ(Width(), 100 + 75 + 13);

    // The user checks "Трафик": the fixed width, the window refitted, saved.
    SendMessageW(form4.CheckBox(1), BM_CLICK, 0, 0);
    EXPECT_EQ(form2.ColumnWidth(1), 90);
    EXPECT_EQ(Width(), 100 + 90 + 75 + 13);
    EXPECT_EQ(Ini("SIZEPOL", "TTRAF"), "90");

    // Opened again: a box is never checked by the dialog, even for a column dragged open.
    form2.SetColumnWidth(2, 40);
    form4.Hide();
    form4.ShowDialog();
    EXPECT_FALSE(checked(2));
    EXPECT_EQ(profiles.settingsSaves, 3);

    // Every box unchecked: the name column alone.
    SendMessageW(form4.CheckBox(1), BM_CLICK, 0, 0);
    SendMessageW(form4.CheckBox(3), BM_CLICK, 0, 0);
    form2.SetColumnWidth(2, 0);
    form2.FitWidth();
    EXPECT_EQ(Width(), 100 + 13);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InformerFixture, TheSliderSetsTheOpacityAtOnceAndTheEndOfTheRunKeepsIt)
{
    work.Write("vrn15.ini", "[SIZEPOL]\r\nTPRZ=300\r\n");
    form2.N7Click();
    TForm6 form6(form2);
    form6.Create();
    auto label = [&] {
        wchar_t text[16] = L"";
        GetWindowTextW(form6.Label2(), text, 16);
        return std::wstring(text);
    };
    form6.ShowDialog();
    EXPECT_EQ(SendMessageW(form6.TrackBar1(), TBM_GETPOS, 0, 0), 44);
    EXPECT_EQ(label(), L"44");

    // The user drags the slider to 0: the informer is transparent at once.
    SendMessageW(form6.TrackBar1(), TBM_SETPOS, TRUE, 0);
    SendMessageW(form6.Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0), reinterpret_cast<LPARAM>(form6.TrackBar1()));
    EXPECT_EQ(Alpha(), 0);
    EXPECT_EQ(label(), L"0");
    EXPECT_EQ(Ini("SIZEPOL", "TPRZ"), "300");

    // Not saved: the next show reads the stored value back.
    form2.Form1N10Click();
    form2.N7Click();
    EXPECT_EQ(Alpha(), 44);

    // Saved with the informer's next save.
    SendMessageW(form6.TrackBar1(), TBM_SETPOS, TRUE, 200);
    SendMessageW(form6.Handle(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(form6.TrackBar1()));
    EXPECT_EQ(Alpha(), 200);
    MiddleClickInTheList();
    EXPECT_EQ(Ini("SIZEPOL", "TPRZ"), "200");

    // Set and the program ended right away: kept, the widths with it.
    SendMessageW(form6.TrackBar1(), TBM_SETPOS, TRUE, 120);
    SendMessageW(form6.Handle(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(form6.TrackBar1()));
    const std::string widths = Ini("SIZEPOL", "TNAME") + Ini("SIZEPOL", "TSUM");
    DestroyWindow(form2.Handle());
    EXPECT_EQ(Ini("SIZEPOL", "TPRZ"), "120");
    EXPECT_EQ(Ini("SIZEPOL", "TNAME") + Ini("SIZEPOL", "TSUM"), widths);
}

struct ChooserFixture : ::testing::Test {
    TempFolder folder;
    AtomicFileStore store;
    TForm5 form5{folder.Path(), store};
    std::vector<ModalBox> boxes;

    void SetUp() override
    {
        SetModalFunction([this](ModalBox& box) {
            boxes.push_back(box);
            return true;
        });
        form5.Create();
    }
    void TearDown() override { SetModalFunction(nullptr); }
    std::string Marks() const
    {
        std::string text;
        for (int i = 0; i < form5.ItemCount(); ++i)
            text += (form5.Checked(i) ? "+" : "-") + form5.ItemName(i) + ";";
        return text;
    }
};

TEST_F(ChooserFixture, ListsTheConnectionsSortedAndSavesTheUncheckedOnes)
{
    struct Case {
        const char* name;
        const char* price;
        const char* hidden;  // nullptr: no file
        const char* marks;   // the list in its order: + checked, - unchecked
        const char* saved;   // "nast_o.txt" after saving without a change
    };
    const Case cases[] = {
        {"sorted by the list, letter case aside", "b|x>0@0\r\nA|x>0@0\r\nc\r\n", "", "+A;+b;+c;", ""},
        {"no nast_o.txt yet: all listed, no error", "eth0|LAN>0@0\r\n", nullptr, "+eth0;", ""},
        {"the saved lines follow the list", "lo\r\neth1\r\neth0\r\n", "lo\r\neth0\r\n", "-eth0;+eth1;-lo;",
         "eth0\r\nlo\r\n"},
        {"duplicates", "lo|a>0@0\r\nlo|b>0@0\r\n", "lo\r\n", "-lo;-lo;", "lo\r\nlo\r\n"},
        {"a name gone from price.txt is dropped", "eth0\r\n", "ppp0\r\neth0\r\n", "-eth0;", "eth0\r\n"},
        {"letter case", "eth0\r\n", "ETH0\r\n", "+eth0;", ""},
        {"empty price.txt", "", "eth0\r\n", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.Write("price.txt", c.price);
        std::filesystem::remove(folder.Path() / "nast_o.txt");
        if (c.hidden)
            folder.Write("nast_o.txt", c.hidden);
        form5.FormShow();
        EXPECT_EQ(Marks(), c.marks);
        form5.SpeedButton1Click();
        EXPECT_TRUE(folder.Exists("nast_o.txt"));
        EXPECT_EQ(folder.Read("nast_o.txt"), c.saved);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ChooserFixture, AUserUnchecksAConnectionAndSaves)
{
    folder.Write("price.txt", "eth0|LAN>1@1\r\nlo|lo>0@0\r\nppp0\r\n");
    form5.ShowDialog();
    ASSERT_EQ(form5.ItemCount(), 3);
    // A click on the check box of the second item ("lo"); a click on its text only selects.
    HWND list = form5.CheckListBox1();
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 13 + 6));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 13 + 6));
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 2 * 13 + 6));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(100, 2 * 13 + 6));
    EXPECT_EQ(Marks(), "+eth0;-lo;+ppp0;");
    // The space bar toggles the selected item ("ppp0").
    SendMessageW(list, WM_CHAR, L' ', 0);
    EXPECT_EQ(Marks(), "+eth0;-lo;-ppp0;");

    SendMessageW(GetDlgItem(form5.Handle(), TForm5::IdSpeedButton1), BM_CLICK, 0, 0);
    EXPECT_FALSE(form5.Visible());
    EXPECT_EQ(folder.Read("nast_o.txt"), "lo\r\nppp0\r\n");
    EXPECT_EQ(InformerShows("lo", folder.Path()), 0);
    EXPECT_EQ(InformerShows("eth0", folder.Path()), 1);

    // Marks not saved are gone at the next show.
    form5.ShowDialog();
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    form5.Hide();
    form5.ShowDialog();
    EXPECT_EQ(Marks(), "+eth0;-lo;-ppp0;");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ChooserFixture, WithoutPriceFileTheErrorIsShownAndTheChooserStillOpens)
{
    EXPECT_THROW(form5.ShowDialog(), std::runtime_error);
    EXPECT_TRUE(form5.Visible());
    EXPECT_EQ(form5.ItemCount(), 0);
}

}  // namespace
