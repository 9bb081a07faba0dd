#pragma once
// TForm1, the main window: the banner, the panel of figures and the button bar. It owns the
// engine's start-up (FormCreate), the one-second cycle (Timer1Timer) and the state writer
// ost that every way out calls. Its handlers gather input and call the core.
#include <filesystem>
#include <functional>
#include <string>

#include "engine/engine.h"
#include "mainwindow/panel.h"
#include "platform/canvas_win.h"
#include "platform/file_store.h"
#include "platform/picture.h"
#include "platform/regional.h"
#include "platform/screen_area.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "platform/window_win.h"

class TForm1 : public Window, private PanelHost {
public:
    static constexpr UINT_PTR Timer1 = 1;
    static constexpr UINT Timer1Interval = 1000;
    static constexpr UINT_PTR bantm = 2;
    static constexpr UINT bantmInterval = 6000;
    static constexpr uint64_t SaveInterval = 5 * 60 * 1000;  // counts at risk from a crash or power cut
    static constexpr int BannerHeight = 60;                   // Image2, at 96 dpi
    static constexpr int ButtonBarHeight = 21;                // Panel1, at 96 dpi
    enum CommandId : UINT {
        IdHistory = 201, IdSetPrice, IdRename, IdBudget, IdExportCsv,
        IdButton1 = 301, IdButton2, IdButton3, IdButton4, IdButton5
    };

    TForm1(Engine& engine, Clock& clock, Regional& regional, FileStore& store, Shell& shell,
           std::filesystem::path workFolder, std::filesystem::path exeFolder);
    ~TForm1() override;

    void Create();  // the hidden window, then FormCreate
    bool ost();     // saves for an exit; false when the user chose to stay after a failed save
    void Timer1Timer();
    void SaveNow();         // the periodic save and the save before sleep

    void ResumeSampling();  // a shut-down was called off after ost
    void StopSampling();    // Timer1 off, also the periodic save
    int OuterWidth() override;
    bool Sampling() const { return sampling_; }
    // The panel's figures scroll when the window cannot grow to show them all.
    int ScrollPosition() const { return scrollY_; }
    void ScrollTo(int y);
    int VisiblePanelHeight();
    int PanelContentHeight() const { return panelHeight_; }  // the bitmap's: every block
    HWND ScrollBar() const { return scrollBar_; }
    // The work area of the window's monitor (replaceable by tests).
    std::function<ScreenRect()> WorkArea;

    // Commands, also called by tests.
    void Image1MouseDown(int button, int x, int y);  // button: 0 left, 1 right, 2 middle; panel pixels
    void N2Click();  // "История"
    void N3Click();
    void N5Click();
    void BudgetClick();     // "Бюджет"
    void ExportCsvClick();  // "Экспорт в CSV": every connection's history
    void SpeedButton1Click();
    void SpeedButton2Click();  // "Отчистить историю"
    void SpeedButton3Click();
    void SpeedButton4Click();
    void Image2Click();
    void bantmTimer();
    uint8_t BannerStep() const { return bannerStep_; }
    const RgbPicture& BannerPicture() const { return banner_; }
    GdiCanvas& Panel() { return canvas_; }

    // Wired by the program entry.
    std::function<void(const std::vector<infos>&)> RefreshInformerList;
    std::function<void()> ShowAbout;  // "Об авторе"
    std::function<void(const std::wstring& title, const std::wstring& text)> ShowBalloon;  // the tray's
    // The popup menu, replaceable so tests can pick an item: returns the chosen command or 0.
    std::function<UINT(HMENU menu, POINT at)> TrackPopup;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int oldDpi) override;

private:
    void FormCreate();
    void SetButtonFont();
    void SetTimer1(bool on);
    void CreateButtons();
    void LayOut();
    void Paint();
    void UpdateScrollBar();
    void Redraw();  // a pass drawn at once (the window was shown)
    void ShowMessage(const std::string& text);
    std::string Save();  // the periodic save; the error to show, or nothing
    void WarnOfBudgets();  // the tick's balloons for budgets passing 80 % or 100 %

    // PanelHost. While the window is hidden the pass measures and draws nothing.
    Canvas& PanelCanvas() override { return Visible() ? static_cast<Canvas&>(canvas_) : measuring_; }
    void SizeBitmapToPanel() override;
    int PanelHeight() override;
    void GrowWindow(int outerHeight) override;
    void SetOuterWidth(int width) override;
    Color DesktopColor() override;
    int PanelDpi() override { return Dpi(); }
    std::string FirstCharacters(const std::string& userText, std::size_t count) override
    {
        return FirstUserCharacters(userText, count);
    }

    Engine& engine_;
    Clock& clock_;
    Regional& regional_;
    FileStore& store_;
    Shell& shell_;
    std::filesystem::path workFolder_;
    std::filesystem::path exeFolder_;
    GdiCanvas canvas_;
    MeasuringCanvas measuring_{canvas_};
    int panelHeight_ = 0;  // the height the panel needs for its blocks: the bitmap's
    int scrollY_ = 0;      // the bitmap's row at the top of the visible panel
    HWND scrollBar_ = nullptr;
    RgbPicture banner_;
    uint8_t bannerStep_ = 0;
    HWND buttons_[5] = {};
    HFONT buttonFont_ = nullptr;
    HWND hint_ = nullptr;
    HANDLE clearingLock_ = nullptr;  // held until the process ends, for the restart script
    bool sampling_ = false;  // Timer1 belongs on
    bool exited_ = false;    // ost has saved for an exit
    uint64_t lastSave_ = 0;
    std::string lastTickError_;
    std::string lastSaveError_;
};
