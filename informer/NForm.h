#pragma once
// TForm4, the informer's column dialog: a check box each for the traffic, sum and speed
// columns. A column is hidden exactly when its width is 0.
#include "informer/winfast.h"
#include "platform/window_win.h"

class TForm4 : public HiddenWindow {
public:
    enum ControlId : int { IdCheckBox1 = 1, IdCheckBox2, IdCheckBox3 };

    explicit TForm4(TForm2& informer) : informer_(informer) {}
    ~TForm4() override;
    void Create();
    void ShowDialog();  // from the informer's menu: made visible; FormShow when it was hidden
    void FormShow();    // unchecks the box of every column that is 0 px wide
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    HWND CheckBox(int column) const { return boxes_[column - 1]; }  // columns 1..3

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ColumnBoxClick(int column);

    TForm2& informer_;
    HWND boxes_[3] = {};
};
