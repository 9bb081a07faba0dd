// Whatever the bytes of "nast_o.txt": the lines the check compares names with, read again
// from the chooser's form of them (each line ended by CR LF), are the same lines.
#include <cstdint>
#include <cstdlib>

#include "engine/state_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines = SplitLines(text);
    std::string written;
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") != std::string::npos)
            std::abort();
        written += line + "\r\n";
    }
    if (SplitLines(written) != lines)
        std::abort();
    return 0;
}
