#pragma once
// "nast_o.txt": the connections hidden from the informer, one full name a line.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

extern const char* const HiddenConnectionsFileName;

// The file as read at one moment. The drawing pass reads it once per pass, so a choice saved
// in the chooser counts from the next tick on. A missing or unreadable file hides nothing.
class HiddenConnections {
public:
    explicit HiddenConnections(const std::filesystem::path& folder);
    // 1 when the informer lists `name`, 0 when a line of the file equals it exactly.
    uint8_t InformerShows(const std::string& name) const;

private:
    std::vector<std::string> lines_;
};

// The same for one name, reading the file now.
uint8_t InformerShows(const std::string& name, const std::filesystem::path& folder);
