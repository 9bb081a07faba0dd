// The windows at the screen's DPI (run at 96, 120, 144 and 192 by at_dpi.sh) and after a move
// to a monitor of another DPI: no line of the panel reaches into the next, the informer is as
// tall as its rows, and the faces carry Cyrillic.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "informer/winfast.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/panel.h"
#include "platform/canvas_win.h"
#include "platform/dpi_win.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "platform/profile_store.h"
#include "platform/text_win.h"
#include "temp_folder.h"
#include "tests/win/form1_parts.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

namespace {

// The screen's DPI; at_dpi.sh says which one Wine must have given.
int ScreenDpi()
{
    const int dpi = SystemDpi();
    if (const char* expected = std::getenv("VORNIK_EXPECTED_DPI")) {
        EXPECT_EQ(dpi, std::atoi(expected)) << "Wine did not take LogPixels";
    }
    return dpi;
}

// Every text cell the pass puts, with the rectangle its (trimmed) text covers.
struct Cell {
    RECT rect;
    std::string text;
};

class MeasuredCanvas : public Canvas {
public:
    explicit MeasuredCanvas(int dpi) { gdi.SetDpi(dpi); }
    GdiCanvas gdi;
    std::vector<Cell> cells;
    void SetFontSize(int points) override { gdi.SetFontSize(points); }
    void SetFontColor(Color color) override { gdi.SetFontColor(color); }
    void SetFontBold(bool bold) override { gdi.SetFontBold(bold); }
    void PutText(int x, int y, const std::string& text, bool userText) override
    {
        gdi.PutText(x, y, text, userText);
        std::string shown = text.substr(0, text.find_last_not_of(' ') + 1);
        TEXTMETRICW metrics{};
        GetTextMetricsW(gdi.Dc(), &metrics);
        cells.push_back({RECT{x, y, x + gdi.TextWidth(shown), y + metrics.tmHeight}, text});
    }
    int TextWidth(const std::string& text) override { return gdi.TextWidth(text); }
};

class Host : public PanelHost {
public:
    explicit Host(int dpi) : canvas(dpi), dpi_(dpi) {}
    MeasuredCanvas canvas;
    int height = 0;
    Canvas& PanelCanvas() override { return canvas; }
    void SizeBitmapToPanel() override { canvas.gdi.Resize(2000, std::max(1, height)); }
    int PanelHeight() override { return height; }
    void GrowWindow(int outerHeight) override { height = outerHeight; }
    int OuterWidth() override { return 4000; }
    void SetOuterWidth(int) override {}
    Color DesktopColor() override { return 0; }
    int PanelDpi() override { return dpi_; }

private:
    int dpi_;
};

// The texts of one line stand above every text of the next line.
void ExpectLinesApart(const std::vector<Cell>& cells)
{
    std::map<LONG, LONG> bottomOfLine;  // a line's top → the lowest bottom of its texts
    for (const Cell& cell : cells)
        bottomOfLine[cell.rect.top] = std::max(bottomOfLine[cell.rect.top], cell.rect.bottom);
    ASSERT_GE(bottomOfLine.size(), 8u);
    for (auto line = bottomOfLine.begin(), next = std::next(line); next != bottomOfLine.end(); ++line, ++next)
        EXPECT_LE(line->second, next->first) << "the line at " << line->first << " reaches into the one at " << next->first;
}

TEST(AtTheScreenDpi, NoLineOfThePanelReachesIntoTheNext)
{
    const int dpi = ScreenDpi();
    FakeIfTable table;
    Engine engine{table};
    engine.StartDate = Date{2026, 12, 6};
    for (const char* name : {"Realtek PCIe GbE Family Controller", "Модем МТС"}) {
        DayRecord& r = engine.HistoryTable.Append(name);
        r.InOctets = 705'691'648, r.OutOctets = 53'477'376;
        r.Year = 2026, r.Month = 12, r.Day = 6;
    }
    TempFolder folder;
    Host host(dpi);
    DrawPanel(engine, host, ',', folder.Path());
    ExpectLinesApart(host.canvas.cells);
    // The growth rule keeps room below the last block at every DPI.
    EXPECT_GE(host.height, host.canvas.cells.back().rect.bottom);
}

struct InformerAtDpi : ::testing::Test {
    TempFolder work, windows;
    Win32ProfileStore profiles;
    AtomicFileStore store;
    TForm2 form2{work.Path(), windows.Path(), profiles, store};

    void SetUp() override
    {
        SetModalFunction([](ModalBox&) { return true; });
        form2.Create(nullptr);
        form2.WorkArea = [] { return ScreenRect{0, 0, 4000, 4000}; };
        form2.ShowInformer();
    }
    void TearDown() override
    {
        if (form2.Handle())
            DestroyWindow(form2.Handle());
        SetModalFunction(nullptr);
    }
    void Rows(int n)
    {
        std::vector<infos> rows(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            rows[static_cast<std::size_t>(i)].Title = "Модем " + std::to_string(i) + ".   ";
            rows[static_cast<std::size_t>(i)].Traffic = "673 Mb 102 Kb";
            rows[static_cast<std::size_t>(i)].Visible = 1;
        }
        form2.RefreshInformerList(rows);
    }
    // The list's client area holds its header and exactly n rows: none cut, no room for another.
    void ExpectExactly(int n)
    {
        HWND list = form2.ListView1();
        RECT client, header, last;
        GetClientRect(list, &client);
        GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), &header);
        last.left = LVIR_BOUNDS;
        ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(&last)));
        const int rowHeight = last.bottom - last.top;
        EXPECT_EQ(rowHeight, ScaleByDpi(TForm2::RowHeight, form2.Dpi()));
        EXPECT_LE(header.bottom - header.top, last.top - rowHeight * (n - 1)) << "the header covers the first row";
        EXPECT_LE(last.bottom, client.bottom) << n << " rows: the last is cut";
        EXPECT_LT(client.bottom - last.bottom, rowHeight) << n << " rows: room for one more";
        TEXTMETRICW metrics{};
        HDC dc = GetDC(list);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(list, dc);
        EXPECT_LE(metrics.tmHeight, rowHeight) << "the text is taller than its row";
    }
};

TEST_F(InformerAtDpi, IsAsTallAsItsRows)
{
    ScreenDpi();
    for (int n : {1, 2, 5}) {
        Rows(n);
        ExpectExactly(n);
    }
}

// Lets posted messages run.
void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Wine never moves a window to a monitor of another DPI: the message Windows sends then is sent here.
void MoveToDpi(HWND window, int dpi, RECT suggested)
{
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(InformerAtDpi, FollowsAMoveToAMonitorOfAnotherDpi)
{
    if (ScreenDpi() != 96)
        GTEST_SKIP() << "moves from 96 dpi";
    Rows(2);
    form2.SetColumnWidth(0, 140);
    MoveToDpi(form2.Handle(), 144, RECT{100, 100, 700, 300});
    EXPECT_EQ(form2.Dpi(), 144);
    EXPECT_EQ(form2.ColumnWidth(0), 140) << "the width kept at 96 dpi";
    EXPECT_EQ(SendMessageW(form2.ListView1(), LVM_GETCOLUMNWIDTH, 0, 0), 210);
    Rows(2);
    ExpectExactly(2);
    RECT outer;
    GetWindowRect(form2.Handle(), &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_GE(outer.bottom - outer.top, 2 * 26 + 50);
}

// The faces the windows ask for are TrueType faces with every letter of the program's texts,
// whatever the system's code page (run also under 1252 and 936).
void ExpectCyrillic(HFONT font, const char* what)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_STREQ(face, InterfaceFace) << what;
    EXPECT_EQ(GetTextCharset(dc), RUSSIAN_CHARSET) << what;
    const std::wstring text = ProgramText("Отправлено Принято Скорость Имя Трафик Сумма ёЁ");
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), WORD{0xFFFF}), 0) << what << ": letters without a glyph";
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST_F(InformerAtDpi, TheFacesCarryCyrillicOnAnyCodePage)
{
    GdiCanvas panel;
    ExpectCyrillic(reinterpret_cast<HFONT>(GetCurrentObject(panel.Dc(), OBJ_FONT)), "the panel");
    panel.SetFontBold(true);
    ExpectCyrillic(reinterpret_cast<HFONT>(GetCurrentObject(panel.Dc(), OBJ_FONT)), "the panel's bold");
    ExpectCyrillic(reinterpret_cast<HFONT>(SendMessageW(form2.ListView1(), WM_GETFONT, 0, 0)), "the informer");
}

struct MainWindowAtDpi : ::testing::Test, Form1Parts {
    void SetUp() override
    {
        SetModalFunction([](ModalBox&) { return true; });
        table.rows = {IfRow{"Модем МТС", 705'691'648, 53'477'376}};
        form1.Create();
        form1.WorkArea = [] { return ScreenRect{0, 0, 4000, 4000}; };
        form1.Show();
        form1.Timer1Timer();
    }
    void TearDown() override
    {
        form1.StopSampling();
        SetModalFunction(nullptr);
    }
    RECT ChildRect(int id)
    {
        RECT r;
        GetWindowRect(GetDlgItem(form1.Handle(), id), &r);
        MapWindowPoints(nullptr, form1.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void ExpectLaidOutAt(int dpi)
    {
        RECT client, exit = ChildRect(TForm1::IdButton1), about = ChildRect(TForm1::IdButton5);
        GetClientRect(form1.Handle(), &client);
        EXPECT_EQ(exit.right - exit.left, ScaleByDpi(73, dpi));
        EXPECT_EQ(about.left, ScaleByDpi(472, dpi));
        EXPECT_EQ(exit.top, client.bottom - ScaleByDpi(TForm1::ButtonBarHeight, dpi));
        EXPECT_EQ(form1.VisiblePanelHeight(),
                  client.bottom - ScaleByDpi(TForm1::BannerHeight + TForm1::ButtonBarHeight, dpi));
        TEXTMETRICW metrics{};
        GetTextMetricsW(form1.Panel().Dc(), &metrics);
        EXPECT_LE(metrics.tmHeight, ScaleByDpi(PanelStyle::LineStep, dpi)) << "the panel's text is taller than its line";
        EXPECT_GE(form1.PanelContentHeight(), ScaleByDpi(4 + 4 * 18, dpi)) << "the block does not fit the panel";
    }
};

TEST_F(MainWindowAtDpi, IsLaidOutAtTheScreenDpi) { ExpectLaidOutAt(ScreenDpi()); }

TEST_F(MainWindowAtDpi, FollowsAMoveToAMonitorOfAnotherDpi)
{
    if (ScreenDpi() != 96)
        GTEST_SKIP() << "moves from 96 dpi";
    RECT outer;
    GetWindowRect(form1.Handle(), &outer);
    MoveToDpi(form1.Handle(), 144,
              RECT{outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                   outer.top + (outer.bottom - outer.top) * 3 / 2});
    Pump();  // the redraw the change asked for
    ExpectLaidOutAt(144);
}

}  // namespace
