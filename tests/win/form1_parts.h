#pragma once
// What a main window needs around it in a Windows test: a folder of its own, a scripted
// interface table, a clock, Russian regional settings, the real file store and a shell that
// only records, and the engine over them; `form1` is made from them.
#include "engine/engine.h"
#include "mainwindow/Unit1.h"
#include "platform/file_store_win.h"
#include "temp_folder.h"
#include "tests/engine/fakes.h"
#include "tests/win/win_fakes.h"

struct Form1Parts {
    TempFolder folder;
    FakeIfTable table;
    FakeClock clock;
    CommaRegional regional;
    AtomicFileStore store;
    FakeShell shell;
    Engine engine{table};
    TForm1 form1{engine, clock, regional, store, shell, folder.Path(), folder.Path()};
};
