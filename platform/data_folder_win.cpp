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
// In the chosen folder's "vrn15.ini": the folder the user was last told of.
const char* const FolderSection = "Vornik";
const char* const ToldKey = "DataFolder";
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
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

fs::path ChooseDataFolderForThisStart()
{
    const fs::path work = fs::current_path();
    const fs::path exe = ExecutableFolder();
    const FolderChoice choice = ChooseDataFolder(work, exe, WindowsFolder(), UserDataFolder(), CanWrite);
    if (!choice.Moved)
        return choice.Folder;
    const fs::path from = TakeOverStateFiles(choice.Folder, {work, exe});

    Win32ProfileStore profiles;
    const fs::path ini = choice.Folder / L"vrn15.ini";
    const std::string folderText = FromUserText(choice.Folder.wstring());
    if (profiles.Read(ini, FolderSection, ToldKey) != folderText) {
        std::string text = "Программа запущена из папки " + UserData(FromUserText(work.wstring())) +
                           ", в которую нельзя записывать (или из системной папки). Файлы программы "
                           "(история трафика, цены, настройки) хранятся в папке " + UserData(folderText) + ".";
        if (!from.empty())
            text += " Сохранённые данные перенесены из папки " + UserData(FromUserText(from.wstring())) + ".";
        ShowMessageBox(ModalKind::Information, text);
        try {
            profiles.Write(ini, FolderSection, ToldKey, folderText);
        } catch (const std::exception&) {
            // told again at the next start; nothing else depends on it
        }
    }
    return choice.Folder;
}
