#include "informer/hidden_connections.h"

#include "engine/state_files.h"
#include "platform/file_store.h"

const char* const HiddenConnectionsFileName = "nast_o.txt";

uint8_t InformerShows(const std::string& name, const std::filesystem::path& folder)
{
    std::string text;
    if (!ReadWholeFile(folder / HiddenConnectionsFileName, text))
        return 1;
    for (const std::string& line : SplitLines(text))
        if (line == name)
            return 0;
    return 1;
}
