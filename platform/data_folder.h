#pragma once
// Where the program keeps the files it writes: the state files, the counters, "nast_o.txt",
// "vrn15.ini", the report folder "otchet", "restart.bat" and the history archive. The working
// folder, as always, when it can be written and is not the Windows folder (a start by a
// scheduled task or the Run key has System32 there); otherwise the user's own folder
// (%LOCALAPPDATA%\Vornik) once it holds state files; otherwise the executable's folder when it
// can be written; otherwise the user's own folder (a start from Program Files, which asks for
// elevation to write).
#include <filesystem>
#include <functional>
#include <vector>

struct FolderChoice {
    std::filesystem::path Folder;
    bool Moved = false;  // not the working folder: the user is told where the files are
};

FolderChoice ChooseDataFolder(const std::filesystem::path& work, const std::filesystem::path& exe,
                              const std::filesystem::path& windows, const std::filesystem::path& userFolder,
                              const std::function<bool(const std::filesystem::path&)>& writable);

// Whether `path` is `folder` or below it (Windows paths: letters compare without case).
bool IsWithin(const std::filesystem::path& path, const std::filesystem::path& folder);

// The files a start reads its state from, in the order they are looked for.
extern const char* const StateFileNames[5];  // history.txt, price.txt, counters.txt, nast_o.txt, vrn15.ini

// A chosen folder without any state file takes them from the first of `earlier` that has one,
// so no history looks lost after the move; returns the folder they came from, or nothing.
// Files are copied (the old folder may not be writable); a copy that fails takes back those
// made before it and throws, so a start never goes on with part of the state.
std::filesystem::path TakeOverStateFiles(const std::filesystem::path& folder,
                                         const std::vector<std::filesystem::path>& earlier);
