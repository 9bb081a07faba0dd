#pragma once
// TForm1, the main window. It owns the engine's start-up (FormCreate), the one-second
// sampling cycle (Timer1Timer) and the state writer ost that every way out calls.
#include <filesystem>
#include <functional>
#include <string>

#include "engine/engine.h"
#include "platform/file_store.h"
#include "platform/regional.h"
#include "platform/window_win.h"

class TForm1 : public Window {
public:
    static constexpr UINT_PTR Timer1 = 1;
    static constexpr UINT Timer1Interval = 1000;
    static constexpr uint64_t SaveInterval = 5 * 60 * 1000;  // counts at risk from a crash or power cut

    TForm1(Engine& engine, Clock& clock, Regional& regional, FileStore& store, std::filesystem::path workFolder);

    void Create();  // the hidden window, then FormCreate
    bool ost();     // saves for an exit; false when the user chose to stay after a failed save
    void Timer1Timer();
    void SaveNow();         // the periodic save and the save before sleep
    void ResumeSampling();  // a shut-down was called off after ost
    int OuterWidth() const;
    bool Sampling() const { return sampling_; }

    // Wired by the program entry.
    std::function<void()> RefreshInformerList;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void SetTimer1(bool on);

    Engine& engine_;
    Clock& clock_;
    Regional& regional_;
    FileStore& store_;
    std::filesystem::path workFolder_;
    bool sampling_ = false;  // Timer1 belongs on
    bool exited_ = false;    // ost has saved for an exit
    uint64_t lastSave_ = 0;
    std::string lastTickError_;
    std::string lastSaveError_;
};
