#include "informer/NForm.h"

void TForm4::Create() { CreateHidden(L"TForm4", "Поля", 126, 80, GetSysColor(COLOR_BTNFACE)); }
