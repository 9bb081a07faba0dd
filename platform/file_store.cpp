#include "platform/file_store.h"

#include <fstream>
#include <iterator>

bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
