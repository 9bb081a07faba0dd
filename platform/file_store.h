#pragma once
// Where the program's state files are written. Save replaces a file as a whole: after a
// failure the old file is still there, complete; the error is thrown as std::runtime_error.
#include <filesystem>
#include <string>

class FileStore {
public:
    virtual ~FileStore() = default;
    virtual void Save(const std::filesystem::path& file, const std::string& bytes) = 0;
};

// Reads a whole file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes);
