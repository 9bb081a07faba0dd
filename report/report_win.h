#pragma once
// The report and the clearing on Windows: files beside the executable and in the working
// folder, the archive copy, the script in the console's code page.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "engine/engine.h"
#include "platform/file_store.h"
#include "platform/shell_win.h"

// "История": writes "otchet\history.htm" in the program's folder (the folder is made when
// missing, with a copy of the logo beside the executable) and opens it maximised.
void WriteHistoryReport(Engine& engine, char decimalSeparator, FileStore& store, Shell& shell,
                        const std::filesystem::path& folder, const std::filesystem::path& exeFolder);

// Copies "history.txt" into "arxiv" (made when missing) under a name no earlier archive holds,
// and checks the copy. Returns the archive's name; throws when the copy cannot be made.
std::string ArchiveHistory(const std::filesystem::path& workFolder, const std::string& shortDate);

// How the restart script spells its paths for cmd.exe, which reads a script in the console's
// (OEM) code page. The conversions are Windows' own; tests give doubles that fail as Windows does.
struct ConsoleSpelling {
    UINT CodePage = GetOEMCP();
    decltype(&WideCharToMultiByte) Convert = WideCharToMultiByte;
    decltype(&GetShortPathNameW) ShortPath = GetShortPathNameW;
};

// The path in the console's code page, or its short (8.3) form where the code page cannot
// spell the long one; nothing when neither can be spelled (8.3 names are off on the volume).
std::optional<std::string> ConsolePath(const std::filesystem::path& path, const ConsoleSpelling& console = {});

// "restart.bat" for a clearing, written into the program's folder: in the console's code page
// where the names can be spelled in it, otherwise in UTF-8. `archive` is the archive's full
// path; the script names it in "arxiv".
std::string RestartScriptFor(const std::filesystem::path& archive, const std::filesystem::path& exePath,
                             const ConsoleSpelling& console = {});

// Opens the marker that tells the script this copy still runs; closed when the process ends.
HANDLE HoldClearingLock(const std::filesystem::path& workFolder);
