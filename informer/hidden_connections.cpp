#include "informer/hidden_connections.h"

#include <algorithm>

#include "engine/state_files.h"
#include "platform/file_store.h"

const char* const HiddenConnectionsFileName = "nast_o.txt";

HiddenConnections::HiddenConnections(const std::filesystem::path& folder)
{
    std::string text;
    if (ReadWholeFile(folder / HiddenConnectionsFileName, text))
        lines_ = SplitLines(text);
}

uint8_t HiddenConnections::InformerShows(const std::string& name) const
{
    return std::find(lines_.begin(), lines_.end(), name) == lines_.end() ? 1 : 0;
}

uint8_t InformerShows(const std::string& name, const std::filesystem::path& folder)
{
    return HiddenConnections(folder).InformerShows(name);
}
