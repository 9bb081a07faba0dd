#include "platform/autostart_win.h"

#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/text_win.h"

const wchar_t* const RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const RunValueName = L"Vornik";

namespace {
std::wstring Quoted(const std::filesystem::path& exe) { return L"\"" + exe.wstring() + L"\""; }
}  // namespace

bool StartsWithWindows(const std::filesystem::path& exe)
{
    wchar_t value[2 * MAX_PATH] = L"";
    DWORD size = sizeof value - sizeof(wchar_t);
    // RRF_RT_REG_SZ takes a REG_EXPAND_SZ value too, expanded (RRF_RT_REG_EXPAND_SZ itself would
    // need RRF_NOEXPAND and fail without it).
    if (RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, RunValueName, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return false;
    // Paths compare without case, as Windows finds files; a value without quotes names it too.
    return lstrcmpiW(value, Quoted(exe).c_str()) == 0 || lstrcmpiW(value, exe.c_str()) == 0;
}

void SetStartWithWindows(const std::filesystem::path& exe, bool on)
{
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        if (on) {
            const std::wstring value = Quoted(exe);
            status = RegSetValueExW(key, RunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        } else {
            status = RegDeleteValueW(key, RunValueName);
            if (status == ERROR_FILE_NOT_FOUND)
                status = ERROR_SUCCESS;
        }
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("Не удалось изменить запуск вместе с Windows: " +
                                 SystemErrorText(static_cast<unsigned long>(status)));
}
