#pragma once
// TForm4, the informer's column dialog.
#include "platform/window_win.h"

class TForm4 : public HiddenWindow {
public:
    void Create();
};
