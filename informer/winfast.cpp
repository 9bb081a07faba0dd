#include "informer/winfast.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <exception>

#include "informer/informer_list.h"
#include "informer/informer_settings.h"
#include "informer/placement.h"
#include "platform/autostart_win.h"
#include "platform/data_folder.h"
#include "platform/data_folder_win.h"
#include "platform/dpi_win.h"
#include "platform/shell_win.h"
#include "platform/user_data.h"
#include "platform/modal.h"
#include "platform/text_win.h"

namespace {

const char* const Caption = "Fast INFO - Vornik V1.5";
const COLORREF Cream = RGB(255, 251, 240);
const BYTE DesignOpacity = 150;
const int DesignClientWidth = 425;
const int DesignClientHeight = 38;
const int BorderWidth = 1;

struct ColumnDesign {
    const char* caption;
    int format;
    int width;
};
const ColumnDesign Columns[TForm2::ColumnCount] = {
    {"Имя", LVCFMT_LEFT, 100},
    {"Трафик", LVCFMT_CENTER, 90},
    {"Сумма", LVCFMT_CENTER, 75},
    {"Скорость", LVCFMT_CENTER, 75},
};

Placement FromWindows(const WINDOWPLACEMENT& wp)
{
    Placement p;
    p.Flags = wp.flags;
    p.ShowCmd = static_cast<int32_t>(wp.showCmd);
    p.MinX = wp.ptMinPosition.x;
    p.MinY = wp.ptMinPosition.y;
    p.MaxX = wp.ptMaxPosition.x;
    p.MaxY = wp.ptMaxPosition.y;
    p.Left = wp.rcNormalPosition.left;
    p.Top = wp.rcNormalPosition.top;
    p.Right = wp.rcNormalPosition.right;
    p.Bottom = wp.rcNormalPosition.bottom;
    return p;
}

WINDOWPLACEMENT ToWindows(const Placement& p)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.flags = p.Flags;
    wp.showCmd = static_cast<UINT>(p.ShowCmd);
    wp.ptMinPosition = POINT{p.MinX, p.MinY};
    wp.ptMaxPosition = POINT{p.MaxX, p.MaxY};
    wp.rcNormalPosition = RECT{p.Left, p.Top, p.Right, p.Bottom};
    return wp;
}

int ScreenPixelsPerInch()
{
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi;
}

void SetItemText(HWND list, int item, int subItem, const std::wstring& text)
{
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

}  // namespace

HFONT CreateInformerFont(int dpi) { return CreateScaledFont(11, dpi, false, InterfaceFace); }

UINT ShowInformerMessage() { return RegisterWindowMessageW(L"Vornik V1.5 show the informer"); }

TForm2::TForm2(std::filesystem::path workFolder, std::filesystem::path legacyFolder, ProfileStore& profiles,
               FileStore& store)
    : workFolder_(std::move(workFolder)), legacyFolder_(std::move(legacyFolder)), profiles_(profiles), store_(store)
{
    TrackPopup = [this](HMENU menu, POINT at) { return TrackMenu(Handle(), menu, at); };
    WorkArea = [this] { return MonitorWorkArea(Handle()); };
}

TForm2::~TForm2()
{
    // Destroyed here, while this object still handles WM_DESTROY: the tray icon goes and an
    // unsaved placement is saved.
    if (Handle())
        DestroyWindow(Handle());
    DeleteObject(font_);
    if (trayIcon_)
        DestroyIcon(trayIcon_);
}

void TForm2::Create(HICON icon)
{
    Register(L"TForm2", icon, CreateSolidBrush(Cream));
    // An overlapped window (not a popup), so the system chooses its first position.
    CreateHandle(L"TForm2", ProgramText(Caption), WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN,
                 WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_DLGMODALFRAME, DesignClientWidth, DesignClientHeight);
    SetOpacity(DesignOpacity);
    CreateList();
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    showInformer_ = ShowInformerMessage();
    // An elevated program gets no messages from the shell and a second start (both run with
    // less rights) unless it lets them through.
    for (UINT message : {taskbarCreated_, showInformer_})
        ChangeWindowMessageFilterEx(Handle(), message, MSGFLT_ALLOW, nullptr);

    tray_.cbSize = sizeof tray_;
    tray_.hWnd = Handle();
    tray_.uID = 1;
    tray_.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    tray_.uCallbackMessage = TrayMessage;
    // The tray shows the icon's small image, not the large one shrunk.
    trayIcon_ = static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    tray_.hIcon = trayIcon_ ? trayIcon_ : icon;
    lstrcpynW(tray_.szTip, ProgramText(ApplicationTitle).c_str(), ARRAYSIZE(tray_.szTip));
    AddTrayIcon();
}

void TForm2::CreateList()
{
    RECT client;
    GetClientRect(Handle(), &client);
    const int border = Scaled(BorderWidth);
    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, border, border,
                            client.right - 2 * border, client.bottom - 2 * border, Handle(),
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ListId)), ModuleInstance(), nullptr);
    font_ = CreateInformerFont(Dpi());
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    SetRowHeight();
    SendMessageW(list_, LVM_SETBKCOLOR, 0, Cream);
    SendMessageW(list_, LVM_SETTEXTBKCOLOR, 0, Cream);
    SendMessageW(list_, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
    for (int i = 0; i < ColumnCount; ++i) {
        std::wstring caption = ProgramText(Columns[i].caption);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = Columns[i].format;
        column.cx = Scaled(Columns[i].width);
        column.pszText = caption.data();
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    SetWindowSubclass(list_, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

// The list's mouse buttons reach ListView1MouseDown before the list acts on them (a right
// click then opens PopupMenu2 through WM_CONTEXTMENU).
LRESULT CALLBACK TForm2::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR self)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        try {
            reinterpret_cast<TForm2*>(self)->ListView1MouseDown();
        } catch (const std::exception& e) {
            ShowErrorBox(e.what());
        }
        break;
    case WM_NCCALCSIZE:
        // No horizontal scroll bar: the window is as wide as its columns (the width rule). One
        // shown while the rows grow (a vertical bar narrows the list for a moment) would stay,
        // hiding the last row, which would keep the vertical bar and so itself.
        if (GetWindowLongW(hwnd, GWL_STYLE) & WS_HSCROLL)
            SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~WS_HSCROLL);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, ListProc, id);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

std::filesystem::path TForm2::SettingsFile() const { return workFolder_ / SettingsFileName; }

std::filesystem::path TForm2::FileToRead() const
{
    return SettingsFileToRead(SettingsFile(), legacyFolder_ / SettingsFileName);
}

// At log-on the shell may not take the icon yet: it is tried again until it does. Without it the
// program would have no way in.
void TForm2::AddTrayIcon()
{
    trayShown_ = NotifyIcon(NIM_ADD, &tray_) || NotifyIcon(NIM_MODIFY, &tray_);
    if (trayShown_)
        KillTimer(Handle(), TrayRetryTimer);
    else
        SetTimer(Handle(), TrayRetryTimer, TrayRetryInterval, nullptr);
}

int TForm2::ColumnWidth(int column) const { return UnscaleByDpi(ListColumnWidth(column), Dpi()); }

int TForm2::ListColumnWidth(int column) const
{
    return static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

void TForm2::SetColumnWidth(int column, int width)
{
    // The list reads the width as a 16-bit signed number, and negative ones mean "fit the text".
    width = std::clamp(ScaleByDpi(std::clamp(width, 0, 32767), Dpi()), 0, 32767);
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

void TForm2::FitWidth()
{
    std::array<int, ColumnCount> widths{};
    for (int i = 0; i < ColumnCount; ++i)
        widths[static_cast<std::size_t>(i)] = ListColumnWidth(i);
    RECT r;
    GetWindowRect(Handle(), &r);
    SetWindowPos(Handle(), nullptr, 0, 0, InformerWidth(widths, Dpi()), r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The list's rows are as tall as its small images: an empty image list of the row's height
// gives every DPI and face the 17 px (at 96 dpi) that the window's height counts per row.
void TForm2::SetRowHeight()
{
    // The grid lines add a pixel to each row.
    HIMAGELIST rows = ImageList_Create(1, Scaled(RowHeight) - 1, ILC_COLOR, 1, 0);
    auto old = reinterpret_cast<HIMAGELIST>(
        SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rows)));
    if (old)
        ImageList_Destroy(old);
}

int TForm2::RowPixels() const
{
    RECT item{};
    item.left = LVIR_BOUNDS;
    if (SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) > 0 &&
        SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)) && item.bottom > item.top)
        return item.bottom - item.top;
    return Scaled(RowHeight);
}

// Everything of the window's height but its rows: caption and frame (as the system draws them
// at this DPI), the border around the list (which has no frame of its own) and what stands
// above its first shown row (the header).
int TForm2::ChromeHeight() const
{
    RECT outer, client, header{};
    GetWindowRect(Handle(), &outer);
    GetClientRect(Handle(), &client);
    GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0)), &header);
    // The first row may start a little below the header; how much is known once there was a row.
    RECT top{};
    top.left = LVIR_BOUNDS;
    if (SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) > 0 &&
        SendMessageW(list_, LVM_GETITEMRECT, SendMessageW(list_, LVM_GETTOPINDEX, 0, 0), reinterpret_cast<LPARAM>(&top)))
        headerToRows_ = top.top - (header.bottom - header.top);
    const int aboveRows = header.bottom - header.top + headerToRows_;
    return (outer.bottom - outer.top - client.bottom) + 2 * Scaled(BorderWidth) + aboveRows;
}

// The columns keep their widths at 96 dpi; the font and the frame follow the new DPI.
void TForm2::DpiChanged(int oldDpi)
{
    std::array<int, ColumnCount> widths{};
    for (int i = 0; i < ColumnCount; ++i)
        widths[static_cast<std::size_t>(i)] = UnscaleByDpi(ListColumnWidth(i), oldDpi);
    HFONT font = CreateInformerFont(Dpi());
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    DeleteObject(font_);
    font_ = font;
    SetRowHeight();
    for (int i = 0; i < ColumnCount; ++i)
        SetColumnWidth(i, widths[static_cast<std::size_t>(i)]);
}

void TForm2::SetOpacity(uint8_t opacity)
{
    opacity_ = opacity;
    SetLayeredWindowAttributes(Handle(), 0, opacity, LWA_ALPHA);
}

void TForm2::ChangeOpacity(uint8_t opacity)
{
    if (opacity != opacity_)
        opacityChanged_ = true;
    SetOpacity(opacity);
}

void TForm2::ShowInformer()
{
    if (!Visible()) {
        int showCmd = SW_SHOWNORMAL;
        try {
            showCmd = RestorePlacement();
        } catch (const std::exception& e) {
            ShowErrorBox(e.what());  // the show goes on at the window's current place
        }
        FormShow();
        ShowWindow(Handle(), showCmd);
    }
    SetForegroundWindow(Handle());
}

int TForm2::RestorePlacement()
{
    restored_ = true;
    placementSaved_ = false;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(Handle(), &wp);
    Placement placement = FromWindows(wp);
    if (!ReadPlacement(profiles_, FileToRead(), ScreenPixelsPerInch(), placement))
        return SW_SHOWNORMAL;
    wp = ToWindows(placement);
    wp.showCmd = SW_HIDE;  // placed while hidden; the window appears after FormShow
    SetWindowPlacement(Handle(), &wp);
    // A stored minimized state would hide the informer again at once, and a maximised one
    // would spread its small list over the screen with no caption button to undo it (its
    // caption has none): both show normal.
    return SW_SHOWNORMAL;
}

void TForm2::FormShow()
{
    InformerSettings settings = ReadInformerSettings(profiles_, FileToRead());
    for (int i = 0; i < ColumnCount; ++i)
        SetColumnWidth(i, settings.Widths[static_cast<std::size_t>(i)]);
    SetOpacity(ShownOpacity(settings.Opacity));
    opacityChanged_ = false;
    FitWidth();
}

// Before the first write into the working folder, a file an earlier version kept in the
// Windows directory is taken over whole: a save of the placement alone must not lose the
// widths and opacity that the informer is showing from it.
void TForm2::AdoptLegacySettings()
{
    std::error_code ec;
    if (std::filesystem::exists(SettingsFile(), ec) || ec)
        return;
    std::string bytes;
    if (ReadWholeFile(legacyFolder_ / SettingsFileName, bytes))
        store_.Save(SettingsFile(), bytes);
}

void TForm2::SavePlacement(bool destroying)
{
    if (!restored_)
        return;  // nothing to keep before the informer was first shown in this run
    AdoptLegacySettings();
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(Handle(), &wp);
    WritePlacement(profiles_, SettingsFile(), FromWindows(wp), ScreenPixelsPerInch(), destroying);
    placementSaved_ = true;
}

// At the end of the run, what no save has kept yet: the placement of an informer shown
// since, and an opacity the user set in the dialog (no other step would keep it: quitting
// right after moving the slider must not lose it).
void TForm2::SaveAtEnd()
{
    if (!restored_)
        return;
    try {
        if (!placementSaved_)
            SavePlacement(true);
        if (opacityChanged_)
            SaveSettings();
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    }
}

// Log-off or shut-down: the placement is kept where the window stands now, also when it was
// saved since the last show (the window may have moved after that), as an exit keeps it.
void TForm2::SaveAtLogOff()
{
    placementSaved_ = false;
    SaveAtEnd();
}

void TForm2::save_size_position()
{
    SavePlacement(false);
    SaveSettings();
}

// The five "SIZEPOL" values.
void TForm2::SaveSettings()
{
    InformerSettings settings;
    for (int i = 0; i < ColumnCount; ++i)
        settings.Widths[static_cast<std::size_t>(i)] = ColumnWidth(i);
    settings.Opacity = opacity_;
    AdoptLegacySettings();
    WriteInformerSettings(profiles_, SettingsFile(), settings);
    opacityChanged_ = false;
}

void TForm2::ListView1MouseDown()
{
    FitWidth();
    save_size_position();
}

void TForm2::RefreshInformerList(const std::vector<infos>& rows)
{
    int n = 0;
    if (Visible()) {
        InformerShowing = 1;
        for (const infos& row : rows) {
            if (row.Visible != 1)
                continue;
            std::array<std::string, 4> texts = ItemTexts(row);
            if (n >= static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0))) {
                std::wstring caption = UserText(texts[0]);
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = n;
                item.pszText = caption.data();
                SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
                shownTexts_.resize(static_cast<std::size_t>(n));
                shownTexts_.push_back({texts[0], "", "", ""});
            }
            // Only what changed is set again: every text set repaints its line.
            std::array<std::string, 4>& shown = shownTexts_[static_cast<std::size_t>(n)];
            for (int sub = 0; sub < ColumnCount; ++sub) {
                const std::string& text = texts[static_cast<std::size_t>(sub)];
                if (shown[static_cast<std::size_t>(sub)] == text)
                    continue;
                SetItemText(list_, n, sub, sub ? ProgramText(text) : UserText(text));
                shown[static_cast<std::size_t>(sub)] = text;
            }
            ++n;
        }
    } else {
        InformerShowing = 0;
    }

    // Its rows and the caption, header and frame around them, but never taller than the
    // monitor's work area and wholly on it: the list scrolls the rows that do not fit.
    RECT r;
    GetWindowRect(Handle(), &r);
    const int height = InformerHeight(static_cast<std::size_t>(n), RowPixels(), ChromeHeight());
    const ScreenRect now{r.left, r.top, r.right, r.bottom};
    const ScreenRect fitted =
        FitToWorkArea(ScreenRect{r.left, r.top, r.right, r.top + height}, WorkArea());
    for (int i = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)) - 1; i >= n; --i)
        SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(i), 0);
    if (shownTexts_.size() > static_cast<std::size_t>(n))
        shownTexts_.resize(static_cast<std::size_t>(n));
    if (!(fitted == now))
        SetWindowPos(Handle(), nullptr, fitted.Left, fitted.Top, fitted.Width(), fitted.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm2::N2Click()
{
    if (ost && ost())
        PostQuitMessage(0);
}

void TForm2::FormCloseQuery()
{
    // Ending the program is a quit of the message loop, never a second close of this window.
    if (!ost || !ost())
        return;
    // The close goes on: the placement is kept as the window stands.
    try {
        SavePlacement(false);
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    }
    PostQuitMessage(0);
}

void TForm2::Form1N10Click()
{
    if (ShowMainForm)
        ShowMainForm();
    Hide();
}

void TForm2::N7Click() { ShowInformer(); }

void TForm2::TrayIconDblClick()
{
    // The tray icon's own step: a visible informer goes to the tray, a hidden one comes back.
    if (Visible())
        Hide();
    else
        ShowInformer();
    abfTrayIcon1DblClick();
}

// InformerShowing is set by the last tick, so within a second of a show or hide it still
// tells the state before it; then this step undoes the tray's own step.
void TForm2::abfTrayIcon1DblClick()
{
    if (InformerShowing == 1) {
        save_size_position();
        Hide();
    } else {
        ShowInformer();
    }
}

void TForm2::N3Click()
{
    if (ShowColumnDialog)
        ShowColumnDialog();
}

void TForm2::N5Click()
{
    if (ShowChooser)
        ShowChooser();
}

void TForm2::N9Click()
{
    if (ShowTransparencyDialog)
        ShowTransparencyDialog();
}

void TForm2::ShowTrayMenu()
{
    HMENU menu = CreatePopupMenuOf({{IdMainForm, "Главная форма"}, {0, "-"}, {IdInformer, "Информер"}, {0, "-"},
                                    {IdAutoStart, "Запускать вместе с Windows"}, {0, "-"}, {IdExit, "Выход"}});
    CheckMenuItem(menu, IdAutoStart, MF_BYCOMMAND | (StartsWithWindows(ExecutablePath()) ? MF_CHECKED : MF_UNCHECKED));
    POINT at;
    GetCursorPos(&at);
    UINT command = TrackPopup(menu, at);
    DestroyMenu(menu);
    switch (command) {
    case IdMainForm: Form1N10Click(); break;
    case IdInformer: N7Click(); break;
    case IdAutoStart: AutoStartClick(); break;
    case IdExit: N2Click(); break;
    }
}

void TForm2::AutoStartClick()
{
    const std::filesystem::path exe = ExecutablePath();
    const bool on = !StartsWithWindows(exe);
    if (on) {
        // A start with Windows has System32 as its working folder: its files may live elsewhere.
        const std::filesystem::path there = DataFolderOfAStartWithWindows();
        if (!IsWithin(there, workFolder_) || !IsWithin(workFolder_, there))
            ShowMessageBox(ModalKind::Information,
                           "При запуске вместе с Windows программа будет хранить свои файлы в папке " +
                               UserData(FromUserText(there.wstring())) + ", а не в папке " +
                               UserData(FromUserText(workFolder_.wstring())) +
                               ". Чтобы история была одна, запускайте программу из папки " +
                               UserData(FromUserText(there.wstring())) + " или перенесите туда её файлы.");
    }
    SetStartWithWindows(exe, on);
}

void TForm2::QueueBalloon(const std::wstring& title, const std::wstring& text)
{
    balloons_.emplace_back(title, text);
    if (!balloonShowing_)
        ShowNextBalloon();
}

// Windows, like Wine, replaces a balloon that is showing and tells nothing when one goes: the
// program's own timer spaces them.
void TForm2::ShowNextBalloon()
{
    if (balloons_.empty()) {
        balloonShowing_ = false;
        KillTimer(Handle(), BalloonTimer);
        return;
    }
    NOTIFYICONDATAW balloon = tray_;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_WARNING;
    lstrcpynW(balloon.szInfoTitle, balloons_.front().first.c_str(), ARRAYSIZE(balloon.szInfoTitle));
    lstrcpynW(balloon.szInfo, balloons_.front().second.c_str(), ARRAYSIZE(balloon.szInfo));
    balloons_.erase(balloons_.begin());
    NotifyIcon(NIM_MODIFY, &balloon);
    balloonShowing_ = true;
    SetTimer(Handle(), BalloonTimer, BalloonInterval, nullptr);
}

void TForm2::ShowListMenu(LPARAM at)
{
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x == -1 && point.y == -1)
        GetCursorPos(&point);  // from the keyboard
    HMENU menu = CreatePopupMenuOf({{IdColumns, "Настройка полей"}, {0, "-"}, {IdChooser, "Настройка отображения"},
                                    {0, "-"}, {IdTransparency, "Настройка прозрачности"}});
    UINT command = TrackPopup(menu, point);
    DestroyMenu(menu);
    switch (command) {
    case IdColumns: N3Click(); break;
    case IdChooser: N5Click(); break;
    case IdTransparency: N9Click(); break;
    }
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        AddTrayIcon();  // the shell restarted: the icon comes back
        return 0;
    }
    if (message == showInformer_ && showInformer_ != 0) {
        if (IsIconic(Handle()))
            ShowWindow(Handle(), SW_RESTORE);
        ShowInformer();
        return 0;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == TrayRetryTimer)
            AddTrayIcon();
        else if (wParam == BalloonTimer)
            ShowNextBalloon();
        return 0;
    case TrayMessage:
        if (LOWORD(lParam) == WM_RBUTTONUP)
            ShowTrayMenu();
        else if (LOWORD(lParam) == WM_LBUTTONDBLCLK)
            TrayIconDblClick();
        return 0;
    case WM_CONTEXTMENU:
        // The list or its column header: with no connection listed the header is all there is.
        if (reinterpret_cast<HWND>(wParam) == list_ || GetParent(reinterpret_cast<HWND>(wParam)) == list_) {
            ShowListMenu(lParam);
            return 0;
        }
        break;
    case WM_SIZE:
        if (list_)
            MoveWindow(list_, Scaled(BorderWidth), Scaled(BorderWidth), LOWORD(lParam) - 2 * Scaled(BorderWidth),
                       HIWORD(lParam) - 2 * Scaled(BorderWidth), TRUE);
        return 0;
    case WM_CLOSE:
        FormCloseQuery();
        return 0;
    case WM_QUERYENDSESSION:
        // Log-off or shut-down: the state is written before Windows goes on.
        return ost && ost() ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (!wParam && ResumeSampling)
            ResumeSampling();
        else if (wParam)
            SaveAtLogOff();  // the process ends without destroying its windows
        return 0;
    case WM_DESTROY:
        NotifyIcon(NIM_DELETE, &tray_);
        SaveAtEnd();
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}
