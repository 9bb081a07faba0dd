#include "platform/profile_store.h"

#include <windows.h>

#include <stdexcept>

#include "platform/text_win.h"
#include "platform/user_data.h"

std::string Win32ProfileStore::Read(const std::filesystem::path& file, const std::string& section,
                                    const std::string& key)
{
    wchar_t value[1024];
    GetPrivateProfileStringW(UserText(section).c_str(), UserText(key).c_str(), L"", value, ARRAYSIZE(value),
                             file.c_str());
    return FromUserText(value);
}

void Win32ProfileStore::Write(const std::filesystem::path& file, const std::string& section, const std::string& key,
                              const std::string& value)
{
    if (!WritePrivateProfileStringW(UserText(section).c_str(), UserText(key).c_str(), UserText(value).c_str(),
                                    file.c_str()))
        throw std::runtime_error("Unable to write to " + UserData(FromUserText(file.wstring())));
}

std::filesystem::path WindowsFolder()
{
    wchar_t folder[MAX_PATH];
    UINT n = GetWindowsDirectoryW(folder, ARRAYSIZE(folder));
    return n > 0 && n < ARRAYSIZE(folder) ? std::filesystem::path(folder) : std::filesystem::path();
}
