#pragma once
// The folder the program writes in, chosen at start (see data_folder.h) and told to the user
// once when it is not the working folder.
#include <filesystem>

// Whether a file can be made in the folder (the folder's attributes do not tell: Program Files
// is not read-only, only closed to a user who is not elevated).
bool CanWrite(const std::filesystem::path& folder);

// %LOCALAPPDATA%\Vornik (made when it is chosen).
std::filesystem::path UserDataFolder();

// The folder a start with Windows (the Run key: the working folder is System32) keeps its files in.
std::filesystem::path DataFolderOfAStartWithWindows();

// The folder for this start, with the state files of an earlier folder taken over; the user
// is told where it is the first time it is not the working folder.
std::filesystem::path ChooseDataFolderForThisStart();
