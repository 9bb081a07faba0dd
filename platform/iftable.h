#pragma once
// The system's interface table as the engine sees it: one row per interface, known by
// its description. The Win32 source reads it through IPHLPAPI's GetIfTable.
#include <cstdint>
#include <string>
#include <vector>

struct IfRow {
    std::string Description;  // bytes as Windows hands them over (ANSI code page)
    uint32_t InOctets = 0;
    uint32_t OutOctets = 0;
};

class IfTableSource {
public:
    virtual ~IfTableSource() = default;
    // Loads the interface library; false when it cannot be loaded.
    virtual bool Load() = 0;
    // True once the library is loaded and its GetIfTable entry point was found.
    virtual bool HasEntry() const = 0;
    virtual bool Loaded() const = 0;
    // Frees the library; the entry point is gone until the next Load.
    virtual void Release() = 0;
    // Reads the table; false on any failure (nothing to sample this time).
    virtual bool Read(std::vector<IfRow>& rows) = 0;
};

// The connection name of a row: the description field up to its first zero byte,
// then cut to the row's own description length.
std::string IfDescription(const unsigned char* field, std::size_t fieldSize, uint32_t length);
