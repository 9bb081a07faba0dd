#include "informer/NOF.h"

void TForm5::Create() { CreateHidden(L"TForm5", "Выбирете соединения для отображения", 571, 166, RGB(255, 251, 240)); }
