#pragma once
// The system's interface table as the engine sees it: one row per interface, known by
// its description. The Win32 source reads it through IPHLPAPI: GetIfTable2 with 64-bit
// counters where Windows has it, GetIfTable with 32-bit counters otherwise.
#include <cstdint>
#include <string>
#include <vector>

struct IfRow {
    std::string Description;  // bytes in the system's ANSI code page, as GetIfTable hands them over
    uint64_t InOctets = 0;    // below 2^32 when the table has 32-bit counters
    uint64_t OutOctets = 0;
    // What stays the same for the row while its description may change: the InterfaceLuid
    // of the 64-bit table (kept across restarts), the dwIndex of the 32-bit one.
    uint64_t Identity = 0;
    uint64_t InSpeed = 0;   // link speed in bits per second; 0 when unknown
    uint64_t OutSpeed = 0;
    // A filter driver's view of an adapter (the 64-bit table's FilterInterface flag): the
    // adapter's own traffic once more, under a description of its own.
    bool FilterInterface = false;
};

class IfTableSource {
public:
    virtual ~IfTableSource() = default;
    // Loads the interface library; false when it cannot be loaded.
    virtual bool Load() = 0;
    // True once the library is loaded and an entry point to read the table was found.
    virtual bool HasEntry() const = 0;
    virtual bool Loaded() const = 0;
    // Frees the library; the entry points are gone until the next Load.
    virtual void Release() = 0;
    // Reads the table; false on any failure (nothing to sample this time).
    virtual bool Read(std::vector<IfRow>& rows) = 0;
    // True when the rows read have 64-bit counters and LUIDs as identities.
    virtual bool Counters64() const = 0;
};

// The connection name of a row: the description field up to its first zero byte,
// then cut to the row's own description length.
std::string IfDescription(const unsigned char* field, std::size_t fieldSize, uint32_t length);
