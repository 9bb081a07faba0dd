// Reads what the running program's informer shows, for the end-to-end tests: run under Wine
// beside it, it prints each list item's texts (tab-separated), then the column widths, the
// window's opacity and whether it is visible. The list lives in the other process, so its
// texts are fetched through a buffer allocated there.
// "peek.exe box" prints instead what the edit field of the program's input box holds;
// "peek.exe balloon" the title and text of every tray balloon shown (the shell's balloon
// tooltips; Wine's gives no title).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

struct Remote {
    HANDLE process;
    void* memory;
};

std::string ItemText(HWND list, const Remote& remote, int item, int column)
{
    const SIZE_T textRoom = 512;
    auto* remoteText = static_cast<char*>(remote.memory) + sizeof(LVITEMW);
    LVITEMW request{};
    request.iSubItem = column;
    request.pszText = reinterpret_cast<wchar_t*>(remoteText);
    request.cchTextMax = textRoom;
    if (!WriteProcessMemory(remote.process, remote.memory, &request, sizeof request, nullptr))
        return "?";
    LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(remote.memory));
    wchar_t text[textRoom] = {};
    if (length > 0 && !ReadProcessMemory(remote.process, remoteText, text, sizeof(wchar_t) * (textRoom - 1), nullptr))
        return "?";
    return Utf8(text);
}

}  // namespace

// The input box is a dialog captioned with the program's title; its edit field is item 100.
int PrintInputBoxText()
{
    HWND box = FindWindowW(L"#32770", L"Vornik V1.5");
    HWND edit = box ? GetDlgItem(box, 100) : nullptr;
    if (!edit) {
        std::fprintf(stderr, "no input box\n");
        return 1;
    }
    wchar_t text[1024] = {};
    SendMessageW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));  // marshalled across processes
    std::printf("%s\n", Utf8(text).c_str());
    return 0;
}

BOOL CALLBACK PrintBalloon(HWND window, LPARAM found)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0 || !IsWindowVisible(window) ||
        !(GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON))
        return TRUE;
    // The tooltip lives in the shell's process: its title and text are fetched through a buffer there.
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    void* memory = process ? VirtualAllocEx(process, nullptr, 8192, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE) : nullptr;
    if (!memory)
        return TRUE;
    const SIZE_T room = 1024;
    auto* remoteText = static_cast<char*>(memory) + 512;
    wchar_t title[room] = {}, text[room] = {};
    TTGETTITLE getTitle{};
    getTitle.dwSize = sizeof getTitle;
    getTitle.cch = room;
    getTitle.pszTitle = reinterpret_cast<wchar_t*>(remoteText);
    WriteProcessMemory(process, memory, &getTitle, sizeof getTitle, nullptr);
    SendMessageW(window, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(memory));
    ReadProcessMemory(process, remoteText, title, sizeof title - sizeof(wchar_t), nullptr);
    // The balloon is a tracking tooltip with one tool: no "current" tool, so it is enumerated.
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = reinterpret_cast<wchar_t*>(remoteText);
    WriteProcessMemory(process, memory, &tool, sizeof tool, nullptr);
    SendMessageW(window, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(memory));
    ReadProcessMemory(process, remoteText, text, sizeof text - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process, memory, 0, MEM_RELEASE);
    CloseHandle(process);
    std::printf("%s\t%s\n", Utf8(title).c_str(), Utf8(text).c_str());
    ++*reinterpret_cast<int*>(found);
    return TRUE;
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "box")
        return PrintInputBoxText();
    if (argc > 1 && std::string(argv[1]) == "balloon") {
        int found = 0;
        EnumWindows(PrintBalloon, reinterpret_cast<LPARAM>(&found));
        return found ? 0 : 1;
    }
    HWND informer = FindWindowW(L"TForm2", nullptr);
    HWND list = informer ? FindWindowExW(informer, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
    if (!list) {
        std::fprintf(stderr, "no informer\n");
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    Remote remote{OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid), nullptr};
    if (remote.process)
        remote.memory = VirtualAllocEx(remote.process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote.memory) {
        std::fprintf(stderr, "cannot reach the program's memory: %lu\n", GetLastError());
        return 1;
    }
    int items = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < items; ++item) {
        std::string line;
        for (int column = 0; column < 4; ++column)
            line += (column ? "\t" : "") + ItemText(list, remote, item, column);
        std::printf("%s\n", line.c_str());
    }
    std::printf("columns:");
    for (int column = 0; column < 4; ++column)
        std::printf(" %d", static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)));
    BYTE alpha = 255;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(informer, nullptr, &alpha, &flags))
        std::printf("\nopacity: %d", (flags & LWA_ALPHA) ? alpha : 255);
    else
        std::printf("\nopacity: unknown (%lu)", GetLastError());
    std::printf("\nvisible: %d\n", IsWindowVisible(informer) ? 1 : 0);
    VirtualFreeEx(remote.process, remote.memory, 0, MEM_RELEASE);
    CloseHandle(remote.process);
    return 0;
}
