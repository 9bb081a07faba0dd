// The program entry: the engine, then the six windows in their order (the informer first,
// as the application's main window), then the message loop. Saving is the exit handlers'
// business; nothing is saved when the loop ends.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>

#include "app/single_instance_win.h"
#include "engine/engine.h"
#include "informer/NForm.h"
#include "informer/NOF.h"
#include "informer/set_pr.h"
#include "informer/winfast.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/about.h"
#include "platform/data_folder_win.h"
#include "platform/file_store_win.h"
#include "platform/modal.h"
#include "platform/iftable_win.h"
#include "platform/profile_store.h"
#include "platform/shell_win.h"
#include "platform/system_win.h"
#include "platform/text_win.h"
#include "platform/user_data.h"
#ifdef VORNIK_SCRIPTED_IFTABLE
#include "tests/support/scripted_iftable.h"
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    SingleInstance guard;
    if (guard.AnotherRunning()) {
        guard.RefuseThisCopy();
        return 0;
    }

    std::filesystem::path folder;  // where every file the program writes is kept
    try {
        folder = ChooseDataFolderForThisStart();
    } catch (const std::filesystem::filesystem_error& e) {
        ShowErrorBox("Не удалось перенести сохранённые данные из " + UserData(FromUserText(e.path1().wstring())) +
                     " в " + UserData(FromUserText(e.path2().wstring())) + ": " + UserData(e.code().message()) +
                     ". Данные остались на старом месте.");
        return 1;
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
        return 1;
    }

#if defined(VORNIK_SCRIPTED_IFTABLE)
    // The tests' replay build: a Windows machine's interface table from "iftable.txt" beside it.
    ScriptedIfTable ifTable(ExecutableFolder() / L"iftable.txt");
#elif defined(VORNIK_IFTABLE32_ONLY)
    Win32IfTable ifTable(/*only32=*/true);  // vrn15_if32.exe: GetIfTable only, as on Windows XP
#else
    Win32IfTable ifTable;
#endif
    Win32Clock clock;
    Win32Regional regional;
    AtomicFileStore store;
    Win32Shell shell;
    Engine engine(ifTable);
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(1));

    Win32ProfileStore profiles;
    TForm2 form2(folder, WindowsFolder(), profiles, store);
    TForm1 form1(engine, clock, regional, store, shell, folder, ExecutableFolder());
    TForm3 form3(shell);
    TForm4 form4(form2);
    TForm5 form5(folder, store);
    TForm6 form6(form2);

    form2.ost = [&] { return form1.ost(); };
    form2.ShowMainForm = [&] { form1.Show(); };
    form2.ResumeSampling = [&] { form1.ResumeSampling(); };
    form1.ShowAbout = [&] { form3.Show(); };
    form1.ShowBalloon = [&](const std::wstring& title, const std::wstring& text) { form2.QueueBalloon(title, text); };
    form1.RefreshInformerList = [&](const std::vector<infos>& rows) { form2.RefreshInformerList(rows); };
    form2.ShowColumnDialog = [&] { form4.ShowDialog(); };
    form2.ShowChooser = [&] { form5.ShowDialog(); };
    form2.ShowTransparencyDialog = [&] { form6.ShowDialog(); };

    form2.Create(icon);
    form1.Create();
    form3.Create(icon);
    form4.Create();
    form5.Create();
    form6.Create();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
