#pragma once
// TForm3, the about box: shown without waiting, hidden as soon as it loses activation.
#include "platform/shell_win.h"
#include "platform/window_win.h"

class TForm3 : public HiddenWindow {
public:
    static constexpr UINT IdSiteLink = 7;  // StaticText7

    explicit TForm3(Shell& shell) : shell_(shell) {}
    ~TForm3() override;
    void Create(HICON icon);
    void StaticText7Click();  // the maker's web site

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND Label(const char* text, int x, int y, int width, HFONT font, UINT id = 0, DWORD style = SS_LEFT);

    Shell& shell_;
    HBRUSH background_ = nullptr;
    HWND link_ = nullptr;
};
