#include "mainwindow/Unit1.h"

#include <exception>

#include "platform/modal.h"
#include "platform/text_win.h"

namespace {
const int DesignClientWidth = 792;
const int DesignClientHeight = 123;
const char* const Caption = "VORNIK V1.5+ by Kestrane";
}  // namespace

TForm1::TForm1(Engine& engine, Clock& clock, Regional& regional, FileStore& store, std::filesystem::path workFolder)
    : engine_(engine), clock_(clock), regional_(regional), store_(store), workFolder_(std::move(workFolder))
{
}

void TForm1::Create()
{
    Register(L"TForm1", LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(1)), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CreateHandle(L"TForm1", ProgramText(Caption), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0,
                 DesignClientWidth, DesignClientHeight);
    CenterOnScreen();
    try {
        FormCreate();
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());  // the engine stays idle; the stored files stay as they are
    }
}

void TForm1::FormCreate()
{
    if (!engine_.IfTable.Load())
        return;  // no interface library: an idle run, silently
    if (!engine_.IfTable.HasEntry()) {
        engine_.IfTable.Release();
        Hide();
    }
    engine_.StartDate = clock_.Today();
    if (std::optional<int32_t> width = LoadState(engine_, workFolder_)) {
        RECT r;
        GetWindowRect(Handle(), &r);
        SetWindowPos(Handle(), nullptr, 0, 0, *width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
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

void TForm1::Timer1Timer()
{
    SetTimer1(false);
    try {
        SampleInterfaces(engine_);
        if (RefreshInformerList)
            RefreshInformerList();
        lastTickError_.clear();
    } catch (const std::exception& e) {
        // The timer comes back on whatever happened, and one error is not shown every second.
        if (e.what() != lastTickError_) {
            lastTickError_ = e.what();
            ShowErrorBox(e.what());
        }
    }
    if (clock_.Milliseconds() - lastSave_ >= SaveInterval)
        SaveNow();
    SetTimer1(true);
}

void TForm1::SaveNow()
{
    lastSave_ = clock_.Milliseconds();
    if (!engine_.StateLoaded || exited_)
        return;
    try {
        SaveState(engine_, workFolder_, OuterWidth(), regional_.DecimalSeparator(), store_);
        lastSaveError_.clear();
    } catch (const std::exception& e) {
        if (e.what() != lastSaveError_) {
            lastSaveError_ = e.what();
            ShowErrorBox(e.what());
        }
    }
}

bool TForm1::ost()
{
    auto endAnyway = [](const std::string& error) {
        return ShowModal({ModalKind::YesNo, ApplicationTitle,
                          "Не удалось сохранить данные о трафике.\n\n" + error +
                              "\n\nЗавершить программу без сохранения? Трафик, подсчитанный после последнего "
                              "сохранения, будет потерян."});
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

int TForm1::OuterWidth() const
{
    RECT r;
    GetWindowRect(Handle(), &r);
    return r.right - r.left;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == Timer1)
            Timer1Timer();
        return 0;
    case WM_CLOSE:
        Hide();  // the main window only hides; the program goes on in the tray
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMSUSPEND)
            SaveNow();
        return TRUE;
    }
    return Window::HandleMessage(message, wParam, lParam);
}
