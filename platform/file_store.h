#pragma once
// Where the program's state files are written. A save replaces a file as a whole: after a
// failure the old file is still there, complete; the error is thrown as std::runtime_error.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Gives a file's bytes a piece at a time: points `piece` at the next piece (valid until the
// next call) and returns false once the file is complete.
using FilePieces = std::function<bool(std::string_view& piece)>;

class FileStore {
public:
    virtual ~FileStore() = default;
    // A large file is made and written a piece at a time, so it never sits in memory whole.
    virtual void SavePieces(const std::filesystem::path& file, const FilePieces& next) = 0;
    void Save(const std::filesystem::path& file, std::string_view bytes);
};

// Reads a whole file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes);

// Reads a file a block at a time, so a large file never has to sit in memory whole.
// `take(text, atEnd)` gets what was read and not yet taken and returns how much of it it
// took; the rest comes again, with more, in the next call. The last call has atEnd true
// and takes everything. False when the file cannot be opened or read.
bool ReadFileInBlocks(const std::filesystem::path& file,
                      const std::function<std::size_t(std::string_view text, bool atEnd)>& take);
