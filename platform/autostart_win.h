#pragma once
// The start with Windows: the value "Vornik" (the executable's full path, quoted) under
// HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
#include <filesystem>

extern const wchar_t* const RunKeyPath;
extern const wchar_t* const RunValueName;  // "Vornik"

// Whether the value is there and names this executable.
bool StartsWithWindows(const std::filesystem::path& exe);
// Writes or removes the value; throws with the system's reason when it cannot.
void SetStartWithWindows(const std::filesystem::path& exe, bool on);
