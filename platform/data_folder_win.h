#pragma once
// The folder the program writes in, chosen at start (see data_folder.h) and told to the user
// once when it is not the working folder.
#include <filesystem>

// Whether a file can be made in the folder (the folder's attributes do not tell: Program Files
// is not read-only, only closed to a user who is not elevated).
bool CanWrite(const std::filesystem::path& folder);

// %LOCALAPPDATA%\Vornik, made when missing.
std::filesystem::path UserDataFolder();

// The folder for this start, with the state files of an earlier folder taken over; the user
// is told where it is the first time it is not the working folder.
std::filesystem::path ChooseDataFolderForThisStart();
