#pragma once
// TForm3, the about box.
#include "platform/window_win.h"

class TForm3 : public HiddenWindow {
public:
    void Create();
};
