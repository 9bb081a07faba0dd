#pragma once
// TForm2, the informer: the application's main window. It carries the tray icon and its
// menu; closing it (also at log-off and shut-down) ends the program.
#include <windows.h>
#include <shellapi.h>

#include <functional>

#include "platform/window_win.h"

class TForm2 : public Window {
public:
    static constexpr UINT TrayMessage = WM_APP + 1;
    enum MenuId : UINT { IdMainForm = 101, IdInformer, IdExit };

    ~TForm2() override;
    void Create(HICON icon);
    void N2Click();          // tray "Выход"
    void FormCloseQuery();   // asked to close: save, then end the program
    void Form1N10Click();    // tray "Главная форма"
    void N7Click();          // tray "Информер"
    void abfTrayIcon1DblClick();

    // Wired by the program entry.
    std::function<bool()> ost;               // the main window's state writer
    std::function<void()> ShowMainForm;
    std::function<void()> ResumeSampling;    // a shut-down was called off

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AddTrayIcon();
    void ShowTrayMenu();

    NOTIFYICONDATAW tray_{};
    UINT taskbarCreated_ = 0;
};
