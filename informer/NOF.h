#pragma once
// TForm5, the connection chooser: every connection of "price.txt" with a check mark, checked
// when the informer lists it. "Сохранить изменения" writes the unchecked ones to "nast_o.txt".
#include <filesystem>
#include <string>
#include <vector>

#include "informer/chooser.h"
#include "platform/file_store.h"
#include "platform/window_win.h"

class TForm5 : public HiddenWindow {
public:
    enum ControlId : int { IdCheckListBox1 = 1, IdSpeedButton1 };
    static constexpr int CheckWidth = 16;  // the check box at an item's left, at 96 dpi

    // `folder`: the working folder, where the engine keeps "price.txt" and reads "nast_o.txt".
    TForm5(std::filesystem::path folder, FileStore& store) : folder_(std::move(folder)), store_(store) {}
    ~TForm5() override;
    void Create();
    void ShowDialog();          // from the informer's menu: made visible; FormShow when it was hidden
    void FormShow();            // SpeedButton2Click
    void SpeedButton2Click();   // reload from "price.txt" and "nast_o.txt"
    void SpeedButton1Click();   // "Сохранить изменения": save, then close

    // The list in its (sorted) order.
    HWND CheckListBox1() const { return list_; }
    int ItemCount() const;
    std::string ItemName(int index) const;
    bool Checked(int index) const;
    void Toggle(int index);  // what a click on an item's check box does

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged(int oldDpi) override;

private:
    void SetItems(const std::vector<ChooserItem>& items);
    std::size_t ItemIndex(int index) const;  // the list item's place in items_
    void DrawItem(const DRAWITEMSTRUCT& draw);
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);

    std::filesystem::path folder_;
    FileStore& store_;
    std::vector<ChooserItem> items_;  // in file order; each list item's data is its index here
    HWND list_ = nullptr;
    HWND hint_ = nullptr;
};
