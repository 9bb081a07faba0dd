// Dozens of connections on a small screen: the main window and the informer stay on their
// monitor's work area, the panel scrolls, and a right click finds the block under the pointer
// at any scroll position.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "informer/winfast.h"
#include "mainwindow/Unit1.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "temp_folder.h"
#include "tests/win/form1_parts.h"
#include "tests/engine/fakes.h"
#include "tests/informer/fake_profile_store.h"
#include "tests/win/win_fakes.h"

namespace {

const ScreenRect Small{0, 0, 1366, 728};     // 1366 x 768 less a 40-pixel taskbar
const ScreenRect Large{0, 0, 1920, 1040};

std::string Name(int k) { return "Adapter " + std::to_string(k); }

// The scroll bar is shown as far as it goes: its window is, even while the form is hidden.
bool Shown(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

// Lets the window's pending messages run.
void PumpMessages()
{
    MSG msg;
    for (int k = 0; k < 200 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++k) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct ScreenFixture : ::testing::Test, Form1Parts {
    ScreenRect work = Small;
    POINT popupAt{};

    void SetUp() override
    {
        SetModalFunction([](ModalBox&) { return true; });
        form1.WorkArea = [this] { return work; };
        form1.Create();
        form1.TrackPopup = [this](HMENU, POINT at) {
            popupAt = at;
            return 0u;
        };
    }
    void TearDown() override { SetModalFunction(nullptr); }
    void Tick(int connections)
    {
        table.rows.clear();
        for (int k = 0; k < connections; ++k)
            table.rows.push_back({Name(k), 1000u + k, 10u});
        clock.ms += 1000;
        form1.Timer1Timer();
    }
    ScreenRect Outer()
    {
        RECT r;
        GetWindowRect(form1.Handle(), &r);
        return ScreenRect{r.left, r.top, r.right, r.bottom};
    }
};

TEST_F(ScreenFixture, SixConnectionsOnALargeScreenLookAsEver)
{
    work = Large;
    for (int k = 1; k <= 3; ++k)
        Tick(6);
    EXPECT_EQ(Outer().Height(), 4 + 78 * 5 + 208);  // grown for the sixth block, as always
    EXPECT_FALSE(Shown(form1.ScrollBar()));
    EXPECT_EQ(form1.ScrollPosition(), 0);
}

TEST_F(ScreenFixture, TheWindowStaysOnTheWorkAreaAndThePanelScrolls)
{
    Tick(25);
    const ScreenRect outer = Outer();
    EXPECT_LE(outer.Height(), Small.Height());
    EXPECT_GE(outer.Top, Small.Top);
    EXPECT_LE(outer.Bottom, Small.Bottom);
    EXPECT_TRUE(Shown(form1.ScrollBar()));
    EXPECT_GE(form1.PanelContentHeight(), 4 + 78 * 24 + 78);  // the bitmap holds every block
    RECT bar;
    GetWindowRect(GetDlgItem(form1.Handle(), TForm1::IdButton1), &bar);
    EXPECT_LE(bar.bottom, outer.Bottom);  // the button bar stays visible

    // The growth step is not asked again on every tick once the window cannot grow.
    const int height = form1.PanelContentHeight();
    Tick(25);
    EXPECT_EQ(form1.PanelContentHeight(), height);
    EXPECT_TRUE(Outer() == outer);
}

TEST_F(ScreenFixture, ARightClickFindsTheBlockUnderThePointerAtAnyScrollPosition)
{
    Tick(25);
    const ScreenRect outer = Outer();
    const int bottom = form1.PanelContentHeight();
    for (int scroll : {0, 100, 1000, bottom}) {
        form1.ScrollTo(scroll);
        const int at = form1.ScrollPosition();  // the last position shows the last block
        EXPECT_GE(at, 0);
        EXPECT_LE(at, bottom - form1.VisiblePanelHeight());
        for (int visibleY : {10, form1.VisiblePanelHeight() / 2, form1.VisiblePanelHeight() - 5}) {
            const int block = std::min(24, (visibleY + at - 4) / 78);  // below the last: the last
            SendMessageW(form1.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, TForm1::BannerHeight + visibleY));
            EXPECT_EQ(engine.SelectedConnection, Name(block)) << scroll << " at " << visibleY;
            EXPECT_EQ(popupAt.x, outer.Left + 30);
            EXPECT_EQ(popupAt.y, outer.Top + visibleY + 20);
        }
    }
    // The wheel scrolls three lines a notch.
    form1.ScrollTo(0);
    SendMessageW(form1.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(form1.ScrollPosition(), 54);
}

TEST_F(ScreenFixture, AHiddenWindowsTickHasEveryEffectOfADrawnOne)
{
    form1.Hide();
    Tick(3);
    const int hiddenWidth = Outer().Width();
    EXPECT_EQ(engine.TariffTable.TariffCount(), 3);
    EXPECT_EQ(engine.HistoryTable[3].BlockTop, 4 + 78 * 2);
    form1.Show();
    PumpMessages();  // runs the pass the show asked for
    EXPECT_EQ(Outer().Width(), hiddenWidth);
    EXPECT_EQ(engine.TariffTable.TariffCount(), 3);
    EXPECT_TRUE(engine.InformerRows.empty());
}

TEST(InformerOnAScreen, ItsHeightIsCappedAtTheWorkAreaAndItStaysOnIt)
{
    TempFolder folder;
    FakeProfileStore profiles;
    AtomicFileStore store;
    TForm2 form2{folder.Path(), folder.Path(), profiles, store};
    ScreenRect work = Small;
    form2.WorkArea = [&] { return work; };
    form2.Create(nullptr);
    form2.Show();
    std::vector<infos> rows(61);
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k].Title = Name(static_cast<int>(k));
    const int AllRows = -1;  // as tall as the rows
    struct Case {
        std::size_t rows;
        ScreenRect work;
        int height;
    };
    const ScreenRect tall{0, 0, 1280, 1000};  // within the tests' 1280 x 1024 screen, which Wine keeps windows in
    const Case cases[] = {{61, Small, Small.Height()}, {61, tall, tall.Height()}, {4, Small, AllRows},
                          {60, Small, Small.Height()}};
    for (const Case& c : cases) {
        work = c.work;
        form2.RefreshInformerList(std::vector<infos>(rows.begin(), rows.begin() + static_cast<long>(c.rows)));
        RECT r;
        GetWindowRect(form2.Handle(), &r);
        if (c.height == AllRows) {
            HWND list = GetWindow(form2.Handle(), GW_CHILD);
            RECT client, last{};
            GetClientRect(list, &client);
            last.left = LVIR_BOUNDS;
            SendMessageW(list, LVM_GETITEMRECT, c.rows - 1, reinterpret_cast<LPARAM>(&last));
            EXPECT_EQ(client.bottom, last.bottom) << c.rows;
        } else {
            EXPECT_EQ(r.bottom - r.top, c.height) << c.rows;
        }
        EXPECT_GE(r.top, c.work.Top);
        EXPECT_LE(r.bottom, c.work.Bottom);
        EXPECT_EQ(SendMessageW(GetWindow(form2.Handle(), GW_CHILD), LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(c.rows));
    }
}

}  // namespace
