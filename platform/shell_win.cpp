#include "platform/shell_win.h"

#include <shellapi.h>

INT_PTR Win32Shell::Open(const std::wstring& verb, const std::wstring& target, int showCommand)
{
    return reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, verb.empty() ? nullptr : verb.c_str(), target.c_str(), nullptr, nullptr, showCommand));
}

std::filesystem::path ExecutablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path);
}

std::filesystem::path ExecutableFolder() { return ExecutablePath().parent_path(); }
