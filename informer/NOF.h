#pragma once
// TForm5, the connection chooser.
#include "platform/window_win.h"

class TForm5 : public HiddenWindow {
public:
    void Create();
};
