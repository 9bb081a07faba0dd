#include "platform/data_folder.h"

#include <cwctype>

namespace fs = std::filesystem;

const char* const StateFileNames[5] = {"history.txt", "price.txt", "counters.txt", "nast_o.txt", "vrn15.ini"};

namespace {
std::wstring Folded(const fs::path& path)
{
    std::wstring text = path.lexically_normal().wstring();
    for (wchar_t& c : text)
        c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    while (text.size() > 1 && text.back() == L'\\')
        text.pop_back();
    return text;
}

bool HasStateFile(const fs::path& folder)
{
    std::error_code ec;
    for (const char* name : StateFileNames)
        if (fs::is_regular_file(folder / name, ec))
            return true;
    return false;
}
}  // namespace

bool IsWithin(const fs::path& path, const fs::path& folder)
{
    const std::wstring p = Folded(path), f = Folded(folder);
    if (f.empty() || p.compare(0, f.size(), f) != 0)
        return false;
    return p.size() == f.size() || p[f.size()] == L'\\' || f.back() == L'\\';
}

FolderChoice ChooseDataFolder(const fs::path& work, const fs::path& exe, const fs::path& windows,
                              const fs::path& userFolder, const std::function<bool(const fs::path&)>& writable)
{
    const bool systemFolder = !windows.empty() && IsWithin(work, windows);
    if (!systemFolder && writable(work))
        return {work, false};
    // Once the files went to the user's folder, they stay there: an elevated start (which may
    // write Program Files) must not go back to the copies left beside the executable.
    if (HasStateFile(userFolder))
        return {userFolder, true};
    if (!IsWithin(exe, windows) && writable(exe))
        return {exe, Folded(exe) != Folded(work)};
    return {userFolder, true};
}

fs::path TakeOverStateFiles(const fs::path& folder, const std::vector<fs::path>& earlier)
{
    if (HasStateFile(folder))
        return {};
    for (const fs::path& from : earlier) {
        if (Folded(from) == Folded(folder) || !HasStateFile(from))
            continue;
        // All or nothing: a folder holding only some of them would never take the rest.
        std::vector<fs::path> copied;
        for (const char* name : StateFileNames) {
            std::error_code ec;
            if (fs::exists(from / name, ec) && fs::copy_file(from / name, folder / name, ec))
                copied.push_back(folder / name);
            if (ec) {
                for (const fs::path& file : copied)
                    fs::remove(file, ec);
                throw fs::filesystem_error("copy", from / name, folder / name, ec);
            }
        }
        return from;
    }
    return {};
}
