#pragma once
// Clearing the history: the program saves, makes the archive copy itself, then hands over to
// "restart.bat", which waits for the old copy to end, deletes "history.txt" only when the
// archive is there, and starts the program again.
#include <string>

// Held open by the old copy until it ends; the script waits until it can delete it.
extern const char* const ClearingLockName;

// The script's lines (CR LF each). It lies in the program's folder and works there ("%~dp0",
// so that folder's name is never spelled). Names come in the console's code page, in which
// cmd.exe reads a script; or, with `utf8`, in UTF-8, which the script switches the console to first.
std::string RestartScript(const std::string& archiveName, const std::string& exePath, bool utf8 = false);

// The message after a successful clearing, naming the archive.
std::string ClearingMessage(const std::string& archiveName);
