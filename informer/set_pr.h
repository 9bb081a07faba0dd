#pragma once
// TForm6, the informer's transparency dialog: a slider for the informer's opacity, 0
// (transparent) to 255 (opaque). The value is saved with the informer's next save.
#include "informer/winfast.h"
#include "platform/window_win.h"

class TForm6 : public HiddenWindow {
public:
    explicit TForm6(TForm2& informer) : informer_(informer) {}
    ~TForm6() override;
    void Create();
    void ShowDialog();  // from the informer's menu: made visible; FormShow when it was hidden
    void FormShow();
    void TrackBar1Change();  // every change of the slider, by the user or by the program
    HWND TrackBar1() const { return trackBar_; }
    HWND Label2() const { return label2_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TForm2& informer_;
    HWND label2_ = nullptr;
    HWND trackBar_ = nullptr;
};
