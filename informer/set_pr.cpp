#include "informer/set_pr.h"

void TForm6::Create() { CreateHidden(L"TForm6", "Прозрачность окна", 283, 69, GetSysColor(COLOR_BTNFACE)); }
