#include "app/single_instance_win.h"

#include <string>

#include "informer/winfast.h"
#include "platform/modal.h"
#include "platform/text_win.h"

namespace {
const char* const Identifier = "00113";
}

SingleInstance::SingleInstance()
{
    std::wstring name = L"Local\\" + ProgramText(std::string(Identifier) + ApplicationTitle);
    mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
    anotherRunning_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance()
{
    if (mutex_)
        CloseHandle(mutex_);
}

void SingleInstance::RefuseThisCopy() const
{
    ShowMessageBox(ModalKind::Exclamation, "Программа Vornik V1.5 уже запущена");
    HWND running = FindWindowW(L"TForm2", ProgramText("Fast INFO - Vornik V1.5").c_str());
    if (!running)
        return;
    // Only the copy the user just started may bring a window forward: it lends that right to
    // the running copy, which shows its informer itself (a hidden window brought forward from
    // here would stay hidden).
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(running, ShowInformerMessage(), 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}
