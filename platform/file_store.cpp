#include "platform/file_store.h"

#include <cstring>
#include <fstream>

void FileStore::Save(const std::filesystem::path& file, std::string_view bytes)
{
    bool given = false;
    SavePieces(file, [&](std::string_view& piece) {
        if (given)
            return false;
        piece = bytes;
        given = true;
        return true;
    });
}

bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    // One read into a string of the file's size: a history of years is tens of megabytes.
    const std::streamoff size = in.tellg();
    if (size < 0 || !in.seekg(0))
        return false;
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));  // the file may have shrunk meanwhile
    return !in.bad();
}

bool ReadFileInBlocks(const std::filesystem::path& file,
                      const std::function<std::size_t(std::string_view text, bool atEnd)>& take)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::string block(1 << 20, '\0');
    std::size_t held = 0;  // bytes at the front of `block` not taken yet
    for (;;) {
        in.read(block.data() + held, static_cast<std::streamsize>(block.size() - held));
        held += static_cast<std::size_t>(in.gcount());
        if (in.bad())
            return false;
        const bool atEnd = in.eof();
        const std::size_t taken = take(std::string_view(block.data(), held), atEnd);
        if (atEnd)
            return true;
        std::memmove(block.data(), block.data() + taken, held - taken);
        held -= taken;
        if (held == block.size())  // a line longer than the block
            block.resize(2 * block.size());
    }
}
