#pragma once
// "nast_o.txt": the connections hidden from the informer, one full name a line.
#include <cstdint>
#include <filesystem>
#include <string>

extern const char* const HiddenConnectionsFileName;

// 1 when the informer lists `name`, 0 when a line of the file equals it exactly. The file is
// read on every call, so a choice saved in the chooser counts from the next tick on. A
// missing or unreadable file hides nothing.
uint8_t InformerShows(const std::string& name, const std::filesystem::path& folder);
