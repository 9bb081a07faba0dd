#pragma once
// The report and the clearing on Windows: files beside the executable and in the working
// folder, the archive copy, the script in the console's code page.
#include <windows.h>

#include <filesystem>
#include <string>

#include "engine/engine.h"
#include "platform/file_store.h"
#include "platform/shell_win.h"

// "История": writes "otchet\history.htm" beside the executable (the folder is made when
// missing) and opens it maximised.
void WriteHistoryReport(Engine& engine, char decimalSeparator, FileStore& store, Shell& shell,
                        const std::filesystem::path& exeFolder);

// Copies "history.txt" into "arxiv" (made when missing) under a name no earlier archive holds,
// and checks the copy. Returns the archive's name; throws when the copy cannot be made.
std::string ArchiveHistory(const std::filesystem::path& workFolder, const std::string& shortDate);

// A path as cmd.exe reads it in a script: in the console's code page, or as its short form
// when the code page cannot spell it.
std::string ConsolePath(const std::filesystem::path& path);

// Opens the marker that tells the script this copy still runs; closed when the process ends.
HANDLE HoldClearingLock(const std::filesystem::path& workFolder);
