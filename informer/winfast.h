#pragma once
// TForm2, the informer: a small always-on-top, semi-transparent list with one line per shown
// connection, and the application's main window. It carries the tray icon and its menu;
// closing it (also at log-off and shut-down) ends the program. Its column widths, opacity and
// position live in "vrn15.ini" in the working folder.
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <filesystem>
#include <string>
#include <functional>
#include <vector>

#include "engine/formats.h"
#include "platform/file_store.h"
#include "platform/profile_store.h"
#include "platform/window_win.h"

// The informer's and its dialogs' text: 11 px at 96 dpi.
HFONT CreateInformerFont(int dpi);

// Sent by a second start to the running copy's informer: show yourself.
UINT ShowInformerMessage();

class TForm2 : public Window {
public:
    static constexpr UINT TrayMessage = WM_APP + 1;
    static constexpr UINT_PTR TrayRetryTimer = 1;
    static constexpr UINT TrayRetryInterval = 3000;  // until the shell takes the icon (at log-on)
    static constexpr int ListId = 1;
    enum MenuId : UINT { IdMainForm = 101, IdInformer, IdExit, IdAutoStart, IdColumns = 111, IdChooser, IdTransparency };
    static constexpr UINT_PTR BalloonTimer = 2;
    static constexpr UINT BalloonInterval = 10000;  // one balloon at a time: the next after this
    static constexpr int ColumnCount = 4;
    static constexpr int RowHeight = 17;  // at 96 dpi

    // `legacyFolder` is where earlier versions kept "vrn15.ini" (the Windows directory).
    TForm2(std::filesystem::path workFolder, std::filesystem::path legacyFolder, ProfileStore& profiles,
           FileStore& store);
    ~TForm2() override;
    void Create(HICON icon);

    // The tray menu.
    void Form1N10Click();  // "Главная форма": the main window instead; nothing saved
    void N7Click();        // "Информер"
    void N2Click();        // "Выход"
    void AutoStartClick(); // "Запускать вместе с Windows"
    // A tray balloon with the warning icon; shown at once or after the one showing.
    void QueueBalloon(const std::wstring& title, const std::wstring& text);
    // A double click on the tray icon: the tray's own step (visible → hidden, hidden →
    // shown), then abfTrayIcon1DblClick.
    void TrayIconDblClick();
    void abfTrayIcon1DblClick();
    // The list's menu.
    void N3Click();  // "Настройка полей"
    void N5Click();  // "Настройка отображения"
    void N9Click();  // "Настройка прозрачности"

    void FormCloseQuery();  // asked to close: save, then end the program
    // Hidden → visible: the placement restore, FormShow, then the window appears. A visible
    // informer is only brought to the front.
    void ShowInformer();
    void FormShow();           // widths and opacity from "vrn15.ini", then the width rule
    void save_size_position();  // the placement, then the five "SIZEPOL" values
    void ListView1MouseDown();  // any button anywhere in the list: width rule, then save
    // The tick's step: the rows with Visible 1 into the list, then the height.
    void RefreshInformerList(const std::vector<infos>& rows);
    uint8_t InformerShowing = 0;  // 1 when the informer was showing at the last tick

    // The list and the window, for the dialogs.
    HWND ListView1() const { return list_; }
    bool TrayIconShown() const { return trayShown_; }
    // Widths at 96 dpi, as "vrn15.ini" and the column dialog keep them; the list shows them scaled.
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    void FitWidth();  // the width rule: outer width := the columns' widths + 13
    uint8_t Opacity() const { return opacity_; }
    void SetOpacity(uint8_t opacity);
    // The transparency dialog's change: shown at once, and kept at the end of the run unless
    // a save or a show came first.
    void ChangeOpacity(uint8_t opacity);
    std::filesystem::path SettingsFile() const;

    // Wired by the program entry.
    std::function<bool()> ost;               // the main window's state writer
    std::function<void()> ShowMainForm;
    std::function<ScreenRect()> WorkArea;    // of the window's monitor (replaceable by tests)
    std::function<void()> ResumeSampling;    // a shut-down was called off
    std::function<void()> ShowColumnDialog;        // TForm4
    std::function<void()> ShowChooser;             // TForm5
    std::function<void()> ShowTransparencyDialog;  // TForm6
    // The shell's tray (replaceable by tests: a shell not ready yet refuses the icon).
    std::function<BOOL(DWORD message, NOTIFYICONDATAW* icon)> NotifyIcon = Shell_NotifyIconW;
    // Shows a popup menu and returns the chosen command or 0; tests pick the item.
    std::function<UINT(HMENU menu, POINT at)> TrackPopup;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int oldDpi) override;

private:
    void CreateList();
    void SetRowHeight();
    int RowPixels() const;     // a row's height in the list
    int ChromeHeight() const;  // the window's height less its rows
    int ListColumnWidth(int column) const;  // as the list shows it
    void AddTrayIcon();
    void ShowTrayMenu();
    void ShowListMenu(LPARAM at);
    int RestorePlacement();  // returns how to show: normal or maximized
    void SavePlacement(bool destroying);
    void SaveSettings();
    void SaveAtEnd();
    void SaveAtLogOff();
    void ShowNextBalloon();
    void AdoptLegacySettings();
    std::filesystem::path FileToRead() const;
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);

    std::filesystem::path workFolder_;
    std::filesystem::path legacyFolder_;
    ProfileStore& profiles_;
    FileStore& store_;
    HWND list_ = nullptr;
    std::vector<std::array<std::string, 4>> shownTexts_;  // what each line of the list shows
    HFONT font_ = nullptr;
    uint8_t opacity_ = 150;
    bool restored_ = false;         // the placement was restored in this run: saves count from now on
    bool placementSaved_ = false;   // saved since the last show
    bool opacityChanged_ = false;   // by the dialog, since the last save or show
    NOTIFYICONDATAW tray_{};
    UINT taskbarCreated_ = 0;
    UINT showInformer_ = 0;  // a second start asks for the informer
    HICON trayIcon_ = nullptr;
    bool trayShown_ = false;
    mutable int headerToRows_ = 0;  // between the header and the first row, as last measured
    std::vector<std::pair<std::wstring, std::wstring>> balloons_;  // waiting to be shown
    bool balloonShowing_ = false;
};
