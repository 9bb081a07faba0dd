#pragma once
// TForm6, the informer's transparency dialog.
#include "platform/window_win.h"

class TForm6 : public HiddenWindow {
public:
    void Create();
};
