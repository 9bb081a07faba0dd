#include "platform/data_folder_win.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/data_folder.h"
#include "platform/modal.h"
#include "platform/profile_store.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "platform/user_data.h"

namespace fs = std::filesystem;

namespace {
// The folder the user was last told of, kept in the user's registry: a key in the folder's
// "vrn15.ini" would make that file exist before the informer takes over an earlier version's.
const wchar_t* const ToldKeyPath = L"Software\\Vornik";
const wchar_t* const ToldValue = L"DataFolder";

std::wstring ToldFolder()
{
    wchar_t value[2 * MAX_PATH] = L"";
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, ToldKeyPath, ToldValue, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

void RememberToldFolder(const std::wstring& folder)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ToldKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;  // told again at the next start; nothing else depends on it
    RegSetValueExW(key, ToldValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}
}  // namespace

bool CanWrite(const fs::path& folder)
{
    const fs::path probe = folder / (L"vrn15-" + std::to_wstring(GetCurrentProcessId()) + L".tmp");
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

fs::path UserDataFolder()
{
    wchar_t local[MAX_PATH] = L"";
    fs::path folder;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, local)))
        folder = fs::path(local) / L"Vornik";
    else
        folder = ExecutableFolder();  // no profile at all: the last place left
    return folder;
}

fs::path DataFolderOfAStartWithWindows()
{
    return ChooseDataFolder(WindowsFolder() / L"System32", ExecutableFolder(), WindowsFolder(), UserDataFolder(), CanWrite)
        .Folder;
}

fs::path ChooseDataFolderForThisStart()
{
    const fs::path work = fs::current_path();
    const fs::path exe = ExecutableFolder();
    const FolderChoice choice = ChooseDataFolder(work, exe, WindowsFolder(), UserDataFolder(), CanWrite);
    if (!choice.Moved)
        return choice.Folder;
    std::error_code ec;
    fs::create_directories(choice.Folder, ec);  // the user's folder is made when first chosen
    const fs::path from = TakeOverStateFiles(choice.Folder, {work, exe});

    const std::string folderText = FromUserText(choice.Folder.wstring());
    if (ToldFolder() != choice.Folder.wstring()) {
        std::string text = "Программа запущена из папки " + UserData(FromUserText(work.wstring())) +
                           ", в которую нельзя записывать (или из системной папки). Файлы программы "
                           "(история трафика, цены, настройки) хранятся в папке " + UserData(folderText) + ".";
        if (!from.empty())
            text += " Сохранённые данные перенесены из папки " + UserData(FromUserText(from.wstring())) + ".";
        ShowMessageBox(ModalKind::Information, text);
        RememberToldFolder(choice.Folder.wstring());
    }
    return choice.Folder;
}
