#include "mainwindow/Unit1.h"

#include <commctrl.h>

#include <exception>

#include "mainwindow/commands.h"
#include "report/clearing.h"
#include "report/history_csv.h"
#include "report/report_win.h"
#include "platform/dpi_win.h"
#include "platform/modal.h"
#include "platform/text_win.h"

namespace {

const int DesignClientWidth = 792;
const int DesignClientHeight = 123;
const char* const Caption = "VORNIK V1.5+ by Kestrane";
const COLORREF ButtonBarColor = RGB(246, 246, 246);
const int BannerResource = 2;
const UINT RedrawMessage = WM_APP + 11;

struct ButtonPlace {
    TForm1::CommandId id;
    int left, width;
    const char* caption;
};
const ButtonPlace Buttons[] = {
    {TForm1::IdButton1, 0, 73, "Выход"},
    {TForm1::IdButton3, 80, 113, "Написать автору"},
    {TForm1::IdButton2, 200, 137, "Отчистить историю"},
    {TForm1::IdButton4, 344, 121, "Помощь"},
    {TForm1::IdButton5, 472, 81, "Об авторе"},
};

// Lets pending messages run. A quit met here is posted again for the main loop.
void ProcessMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void DrawPicture(HDC dc, const RgbPicture& picture, int left, int top, int width, int height)
{
    if (picture.Width == 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.Width;
    info.bmiHeader.biHeight = -picture.Height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> bgra(static_cast<std::size_t>(picture.Width) * picture.Height * 4);
    for (std::size_t p = 0, q = 0; p < picture.Pixels.size(); p += 3, q += 4) {
        bgra[q] = picture.Pixels[p + 2];
        bgra[q + 1] = picture.Pixels[p + 1];
        bgra[q + 2] = picture.Pixels[p];
    }
    if (width == picture.Width && height == picture.Height) {
        SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(picture.Width), static_cast<DWORD>(picture.Height), 0, 0,
                          0, static_cast<UINT>(picture.Height), bgra.data(), &info, DIB_RGB_COLORS);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, left, top, width, height, 0, 0, picture.Width, picture.Height, bgra.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

TForm1::TForm1(Engine& engine, Clock& clock, Regional& regional, FileStore& store, Shell& shell,
               std::filesystem::path workFolder, std::filesystem::path exeFolder)
    : engine_(engine), clock_(clock), regional_(regional), store_(store), shell_(shell),
      workFolder_(std::move(workFolder)), exeFolder_(std::move(exeFolder))
{
    TrackPopup = [this](HMENU menu, POINT at) { return TrackMenu(Handle(), menu, at); };
    WorkArea = [this] { return MonitorWorkArea(Handle()); };
}

TForm1::~TForm1()
{
    if (Handle())
        DestroyWindow(Handle());
    DeleteObject(buttonFont_);
}

void TForm1::Create()
{
    Register(L"TForm1", LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(1)), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CreateHandle(L"TForm1", ProgramText(Caption), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0,
                 DesignClientWidth, DesignClientHeight);
    canvas_.SetDpi(Dpi());
    // The picture stored with the window, shown until the rotation begins.
    if (HRSRC found = FindResourceW(ModuleInstance(), MAKEINTRESOURCEW(BannerResource), MAKEINTRESOURCEW(10))) {
        const char* data = static_cast<const char*>(LockResource(LoadResource(ModuleInstance(), found)));
        if (data)
            DecodeJpeg(std::string(data, SizeofResource(ModuleInstance(), found)), banner_);
    }
    CreateButtons();
    scrollBar_ = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 0, 0, 0, Handle(), nullptr,
                                 ModuleInstance(), nullptr);
    panelHeight_ = VisiblePanelHeight();
    LayOut();
    CenterOnScreen();
    SetTimer(Handle(), bantm, bantmInterval, nullptr);
    try {
        FormCreate();
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());  // the engine stays idle; the stored files stay as they are
    }
}

void TForm1::CreateButtons()
{
    for (std::size_t i = 0; i < std::size(Buttons); ++i)
        buttons_[i] = CreateWindowExW(0, L"BUTTON", ProgramText(Buttons[i].caption).c_str(),
                                      WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, 0, 0, 0, Handle(),
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(Buttons[i].id)), ModuleInstance(),
                                      nullptr);
    SetButtonFont();
    // The banner's hint names the maker's portal.
    hint_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, Handle(),
                            nullptr, ModuleInstance(), nullptr);
    std::wstring hintText = ProgramText(std::string("Портал разработчика: ") + MakerPortal);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = 1;
    tool.lpszText = hintText.data();
    tool.rect = RECT{0, 0, 4000, Scaled(BannerHeight)};
    SendMessageW(hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TForm1::SetButtonFont()
{
    HFONT font = CreateScaledFont(12, Dpi(), false, L"Times New Roman");
    for (HWND button : buttons_)
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    DeleteObject(buttonFont_);
    buttonFont_ = font;
}

// The panel is drawn again at the new DPI; its blocks then need the height they need there.
void TForm1::DpiChanged(int)
{
    canvas_.SetDpi(Dpi());
    SetButtonFont();
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Handle();
    tool.uId = 1;
    tool.rect = RECT{0, 0, 4000, Scaled(BannerHeight)};
    SendMessageW(hint_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    panelHeight_ = 0;
    PostMessageW(Handle(), RedrawMessage, 0, 0);
}

void TForm1::LayOut()
{
    RECT client;
    GetClientRect(Handle(), &client);
    for (std::size_t i = 0; i < std::size(Buttons); ++i)
        SetWindowPos(buttons_[i], nullptr, Scaled(Buttons[i].left), client.bottom - Scaled(ButtonBarHeight),
                     Scaled(Buttons[i].width), Scaled(22), SWP_NOZORDER | SWP_NOACTIVATE);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    SetWindowPos(scrollBar_, nullptr, client.right - barWidth, Scaled(BannerHeight), barWidth, VisiblePanelHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateScrollBar();
    InvalidateRect(Handle(), nullptr, FALSE);
}

int TForm1::VisiblePanelHeight()
{
    RECT client;
    GetClientRect(Handle(), &client);
    return std::max<int>(0, client.bottom - Scaled(BannerHeight) - Scaled(ButtonBarHeight));
}

void TForm1::UpdateScrollBar()
{
    const int visible = VisiblePanelHeight();
    scrollY_ = std::max(0, std::min(scrollY_, panelHeight_ - visible));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, panelHeight_ - 1);
    info.nPage = static_cast<UINT>(visible);
    info.nPos = scrollY_;
    SetScrollInfo(scrollBar_, SB_CTL, &info, TRUE);
    ShowWindow(scrollBar_, panelHeight_ > visible ? SW_SHOWNA : SW_HIDE);
}

void TForm1::ScrollTo(int y)
{
    const int before = scrollY_;
    scrollY_ = y;
    UpdateScrollBar();
    if (scrollY_ != before) {
        RECT panel{0, Scaled(BannerHeight), 4000, Scaled(BannerHeight) + VisiblePanelHeight()};
        InvalidateRect(Handle(), &panel, FALSE);
    }
}

void TForm1::Redraw()
{
    // Timer1 is off during the pass, as in a tick: its growth step lets messages run, and a
    // tick must not start a pass inside this one.
    struct TimerBack {
        TForm1& form;
        bool on;
        ~TimerBack()
        {
            if (on)
                form.SetTimer1(true);
        }
    } back{*this, sampling_};
    SetTimer1(false);
    DrawPanel(engine_, *this, regional_.DecimalSeparator(), workFolder_);
    engine_.InformerRows.clear();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TForm1::FormCreate()
{
    bannerStep_ = 0;
    if (!engine_.IfTable.Load())
        return;  // no interface library: an idle run, silently
    if (!engine_.IfTable.HasEntry()) {
        engine_.IfTable.Release();
        Hide();
    }
    engine_.StartDate = clock_.Today();
    if (std::optional<int32_t> width = LoadState(engine_, workFolder_, clock_.Milliseconds(), regional_.DecimalSeparator()))
        SetOuterWidth(*width);
    lastSave_ = clock_.Milliseconds();
    SetTimer1(true);
}

void TForm1::SetTimer1(bool on)
{
    sampling_ = on;
    if (on)
        SetTimer(Handle(), Timer1, Timer1Interval, nullptr);
    else
        KillTimer(Handle(), Timer1);
}

void TForm1::StopSampling() { SetTimer1(false); }

void TForm1::Timer1Timer()
{
    SetTimer1(false);
    std::string error;
    try {
        // The day follows the clock: after midnight the traffic goes to the new day's records.
        engine_.StartDate = clock_.Today();
        SampleInterfaces(engine_, clock_.Milliseconds());
        DrawPanel(engine_, *this, regional_.DecimalSeparator(), workFolder_);
        InvalidateRect(Handle(), nullptr, FALSE);
        if (RefreshInformerList)
            RefreshInformerList(engine_.InformerRows);
        WarnOfBudgets();
        lastTickError_.clear();
    } catch (const std::exception& e) {
        // One error is not shown every second.
        if (e.what() != lastTickError_)
            error = lastTickError_ = e.what();
    }
    engine_.InformerRows.clear();
    std::string saveError;
    if (clock_.Milliseconds() - lastSave_ >= SaveInterval || engine_.Counters.SaveDue)
        saveError = Save();
    // The timer is on again before a box is shown: sampling goes on while it stays open (a
    // gap of a minute would make a 32-bit counter's wrap look like a restart).
    SetTimer1(true);
    for (const std::string& text : {error, saveError})
        if (!text.empty())
            ShowErrorBox(text);
}

std::string TForm1::Save()
{
    lastSave_ = clock_.Milliseconds();
    if (!engine_.StateLoaded || exited_)
        return {};
    try {
        SaveState(engine_, workFolder_, OuterWidth(), regional_.DecimalSeparator(), store_);
        lastSaveError_.clear();
    } catch (const std::exception& e) {
        if (e.what() != lastSaveError_)
            return lastSaveError_ = e.what();
    }
    return {};
}

void TForm1::SaveNow()
{
    std::string error = Save();
    if (!error.empty())
        ShowErrorBox(error);
}

bool TForm1::ost()
{
    auto endAnyway = [](const std::string& error) {
        return ShowMessageBox(ModalKind::YesNo, "Не удалось сохранить данные о трафике.\n\n" + error +
                              "\n\nЗавершить программу без сохранения? Трафик, подсчитанный после последнего "
                              "сохранения, будет потерян.");
    };
    exited_ = ExitSave(engine_, workFolder_, OuterWidth(), regional_.DecimalSeparator(), store_, endAnyway);
    return exited_;
}

void TForm1::ResumeSampling()
{
    exited_ = false;
    if (engine_.StateLoaded && engine_.IfTable.Load() && !engine_.IfTable.HasEntry())
        engine_.IfTable.Release();
}

int TForm1::OuterWidth()
{
    RECT r;
    GetWindowRect(Handle(), &r);
    return r.right - r.left;
}

void TForm1::SetOuterWidth(int width)
{
    RECT r;
    GetWindowRect(Handle(), &r);
    SetWindowPos(Handle(), nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The height the blocks need, not the part of it the window shows: a window that could not
// grow to it is not asked to again.
int TForm1::PanelHeight() { return panelHeight_; }

void TForm1::SizeBitmapToPanel()
{
    RECT client;
    GetClientRect(Handle(), &client);
    panelHeight_ = std::max(panelHeight_, VisiblePanelHeight());
    canvas_.Resize(std::max<int>(1, client.right), std::max(1, panelHeight_));
}

void TForm1::GrowWindow(int outerHeight)
{
    RECT r, client;
    GetWindowRect(Handle(), &r);
    GetClientRect(Handle(), &client);
    panelHeight_ = outerHeight - ((r.bottom - r.top) - client.bottom) - Scaled(BannerHeight) - Scaled(ButtonBarHeight);
    // No taller than the monitor's work area, and moved up rather than past its bottom.
    const ScreenRect fitted = FitToWorkArea(ScreenRect{r.left, r.top, r.right, r.top + outerHeight}, WorkArea());
    SetWindowPos(Handle(), nullptr, fitted.Left, fitted.Top, fitted.Width(), fitted.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SizeBitmapToPanel();
    UpdateScrollBar();
    ProcessMessages();
}

Color TForm1::DesktopColor() { return GetSysColor(COLOR_BACKGROUND); }

void TForm1::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client;
    GetClientRect(Handle(), &client);
    RECT banner{0, 0, client.right, Scaled(BannerHeight)};
    FillRect(dc, &banner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int pictureWidth = Scaled(banner_.Width), pictureHeight = Scaled(banner_.Height);
    DrawPicture(dc, banner_, (client.right - pictureWidth) / 2, (Scaled(BannerHeight) - pictureHeight) / 2,
                pictureWidth, pictureHeight);
    BitBlt(dc, 0, Scaled(BannerHeight), canvas_.Width(), VisiblePanelHeight(), canvas_.Dc(), 0, scrollY_, SRCCOPY);
    RECT bar{0, client.bottom - Scaled(ButtonBarHeight), client.right, client.bottom};
    HBRUSH grey = CreateSolidBrush(ButtonBarColor);
    FillRect(dc, &bar, grey);
    DeleteObject(grey);
    EndPaint(Handle(), &ps);
}

void TForm1::ShowMessage(const std::string& text) { ShowMessageBox(ModalKind::Plain, text); }

void TForm1::Image1MouseDown(int button, int x, int y)
{
    if (button != 1)
        return;
    // y is where the panel shows it; the blocks stand in the bitmap, scrolled.
    engine_.SelectedConnection = HitTest(engine_.HistoryTable, engine_.FirstConnection, y + scrollY_);
    RECT outer;
    GetWindowRect(Handle(), &outer);
    HMENU menu = CreatePopupMenuOf({{IdHistory, "История"}, {0, "-"}, {IdSetPrice, "Задать цену"}, {0, "-"},
                                    {IdRename, "Переименовать"}, {0, "-"}, {IdBudget, "Бюджет"},
                                    {IdExportCsv, "Экспорт в CSV"}});
    UINT command = TrackPopup(menu, POINT{outer.left + x, outer.top + y + Scaled(20)});
    DestroyMenu(menu);
    switch (command) {
    case IdHistory: N2Click(); break;
    case IdSetPrice: N3Click(); break;
    case IdRename: N5Click(); break;
    case IdBudget: BudgetClick(); break;
    case IdExportCsv: ExportCsvClick(); break;
    }
}

namespace {
PromptUi BoxPrompts()
{
    return {[](const std::string& text) { ShowMessageBox(ModalKind::Plain, text); },
            [](const std::string& prompt, const std::string& defaultText, std::string& answer) {
                ModalBox box{ModalKind::Input, ApplicationTitle, prompt, defaultText, {}};
                if (!ShowModal(box))
                    return false;
                answer = box.Value;
                return true;
            },
            [](const std::string& text, std::vector<ModalField>& fields) {
                ModalBox box{ModalKind::Form, ApplicationTitle, text, "", fields};
                if (!ShowModal(box))
                    return false;
                fields = box.Fields;
                return true;
            }};
}
}  // namespace

void TForm1::N2Click()
{
    WriteHistoryReport(engine_, regional_.DecimalSeparator(), store_, shell_, workFolder_, exeFolder_);
}

void TForm1::SpeedButton2Click()
{
    // Timer1 stops first, and the periodic save with it: nothing may write "history.txt"
    // after this save, or it would come back after the script deleted it.
    const bool wasSampling = sampling_;
    SetTimer1(false);
    try {
        if (engine_.StateLoaded)
            SaveState(engine_, workFolder_, OuterWidth(), regional_.DecimalSeparator(), store_);
        exited_ = true;  // no save before sleep either
        std::string archive = ArchiveHistory(workFolder_, regional_.ShortDate(clock_.Today()));
        clearingLock_ = HoldClearingLock(workFolder_);
        std::filesystem::path script = workFolder_ / L"restart.bat";
        store_.Save(script, RestartScriptFor(workFolder_ / L"arxiv" / UserText(archive),
                                             exeFolder_ / ExecutablePath().filename()));
        ShowMessageBox(ModalKind::Information, ClearingMessage(archive));
        shell_.Open(L"open", script.wstring(), SW_SHOWNORMAL);
        engine_.IfTable.Release();
        PostQuitMessage(0);
    } catch (const std::exception& e) {
        if (clearingLock_) {
            CloseHandle(clearingLock_);
            DeleteFileW((workFolder_ / UserText(ClearingLockName)).c_str());
            clearingLock_ = nullptr;
        }
        exited_ = false;
        ShowErrorBox(e.what());
        if (wasSampling)
            SetTimer1(true);
    }
}

void TForm1::N3Click() { SetPricesCommand(engine_.TariffTable, engine_.SelectedConnection, BoxPrompts(), regional_.DecimalSeparator()); }

void TForm1::N5Click() { RenameCommand(engine_.TariffTable, engine_.SelectedConnection, BoxPrompts()); }

void TForm1::BudgetClick()
{
    BudgetCommand(engine_.Budgets, engine_.HistoryTable, engine_.TariffTable, engine_.SelectedConnection, clock_.Today(),
                  BoxPrompts(), regional_.DecimalSeparator());
}

void TForm1::ExportCsvClick()
{
    const std::filesystem::path folder = workFolder_ / L"otchet";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path file = folder / UserText(HistoryCsvFileName);
    try {
        store_.Save(file, HistoryCsv(engine_.HistoryTable, engine_.TariffTable, regional_.ListSeparator(),
                                     regional_.DecimalSeparator(),
                                     [](const std::string& name) { return Narrow(UserText(name), CP_UTF8); }));
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
        return;
    }
    shell_.Open(L"open", file.wstring(), SW_SHOWNORMAL);
}

void TForm1::WarnOfBudgets()
{
    const char sep = regional_.DecimalSeparator();
    for (BudgetLine& line : engine_.Budgets) {
        if (!line.Parsed || !line.Parsed->Active())
            continue;
        Budget& budget = *line.Parsed;
        const int entry = engine_.TariffTable.Find(budget.Name);
        const BudgetUsage usage = UsageOf(engine_.HistoryTable, budget.Name, engine_.StartDate, budget.BillingDay,
                                          entry ? engine_.TariffTable[entry].PriceIn : 0,
                                          entry ? engine_.TariffTable[entry].PriceOut : 0);
        for (const BudgetWarning& warning : NewWarnings(budget, usage)) {
            const BalloonText text = BudgetWarningText(warning, budget, usage,
                                                       DisplayName(engine_.TariffTable, budget.Name, false), sep);
            if (ShowBalloon)
                ShowBalloon(BoxText(text.Title), BoxText(text.Text));
            engine_.Counters.SaveDue = true;  // what was shown is kept at once, also across a crash
        }
    }
}

void TForm1::SpeedButton1Click()
{
    if (ost())
        PostQuitMessage(0);
}

void TForm1::SpeedButton3Click()
{
    if (shell_.Open(L"open", ProgramText(MailAuthorLink()), SW_SHOWNORMAL) <= 32)
        ShowMessage("Не удалось написать письмо автору.");
}

void TForm1::SpeedButton4Click() { shell_.Open(L"open", (exeFolder_ / L"help" / L"help_me.htm").wstring(), SW_SHOWMAXIMIZED); }

void TForm1::Image2Click() { shell_.Open(L"", ProgramText(MakerPortal), SW_SHOWNORMAL); }

void TForm1::bantmTimer()
{
    if (bannerStep_ >= 4)
        bannerStep_ = 0;
    ++bannerStep_;
    // A missing or broken picture keeps the current one: no box every six seconds.
    std::string bytes;
    std::wstring name = L"ban000" + std::to_wstring(bannerStep_) + L".jpg";
    if (ReadWholeFile(exeFolder_ / L"ban" / name, bytes) && DecodeJpeg(bytes, banner_)) {
        RECT banner{0, 0, 4000, Scaled(BannerHeight)};
        InvalidateRect(Handle(), &banner, FALSE);
    }
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == Timer1)
            Timer1Timer();
        else if (wParam == bantm)
            bantmTimer();
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SIZE:
        LayOut();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IdButton1: SpeedButton1Click(); break;
        case IdButton2: SpeedButton2Click(); break;
        case IdButton3: SpeedButton3Click(); break;
        case IdButton4: SpeedButton4Click(); break;
        case IdButton5:
            if (ShowAbout)
                ShowAbout();
            break;
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        if (y < Scaled(BannerHeight)) {
            if (message == WM_LBUTTONDOWN)
                Image2Click();
        } else if (y < Scaled(BannerHeight) + VisiblePanelHeight()) {
            Image1MouseDown(message == WM_LBUTTONDOWN ? 0 : message == WM_RBUTTONDOWN ? 1 : 2, x, y - Scaled(BannerHeight));
        }
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(Handle(), &p);
            if (p.y < Scaled(BannerHeight)) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
        }
        break;
    case WM_CLOSE:
        Hide();  // the main window only hides; the program goes on in the tray
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            PostMessageW(Handle(), RedrawMessage, 0, 0);  // hidden, the ticks drew nothing
        break;
    case RedrawMessage:
        if (Visible())
            Redraw();
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(scrollY_ - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * Scaled(PanelStyle::LineStep) / WHEEL_DELTA);
        return 0;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lParam) == scrollBar_) {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            GetScrollInfo(scrollBar_, SB_CTL, &info);
            const int page = static_cast<int>(info.nPage);
            switch (LOWORD(wParam)) {
            case SB_LINEUP: ScrollTo(scrollY_ - Scaled(PanelStyle::LineStep)); break;
            case SB_LINEDOWN: ScrollTo(scrollY_ + Scaled(PanelStyle::LineStep)); break;
            case SB_PAGEUP: ScrollTo(scrollY_ - page); break;
            case SB_PAGEDOWN: ScrollTo(scrollY_ + page); break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
            case SB_TOP: ScrollTo(0); break;
            case SB_BOTTOM: ScrollTo(panelHeight_); break;
            }
        }
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMSUSPEND)
            SaveNow();
        return TRUE;
    }
    return Window::HandleMessage(message, wParam, lParam);
}
