#pragma once
// Where the program's state files are written. Save replaces a file as a whole: after a
// failure the old file is still there, complete; the error is thrown as std::runtime_error.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

class FileStore {
public:
    virtual ~FileStore() = default;
    virtual void Save(const std::filesystem::path& file, const std::string& bytes) = 0;
};

// Reads a whole file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes);

// Reads a file a block at a time, so a large file never has to sit in memory whole.
// `take(text, atEnd)` gets what was read and not yet taken and returns how much of it it
// took; the rest comes again, with more, in the next call. The last call has atEnd true
// and takes everything. False when the file cannot be opened or read.
bool ReadFileInBlocks(const std::filesystem::path& file,
                      const std::function<std::size_t(std::string_view text, bool atEnd)>& take);
