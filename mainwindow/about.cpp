#include "mainwindow/about.h"

void TForm3::Create() { CreateHidden(L"TForm3", "Об авторе", 294, 129, RGB(246, 246, 246)); }
