#pragma once
#include <windows.h>
#include <iphlpapi.h>

#include <vector>

#include "platform/iftable.h"

// GetIfTable of IPHLPAPI.DLL, loaded at run time (the program also starts where the
// library is missing, and stays idle there).
using GetIfTableProc = DWORD(WINAPI*)(PMIB_IFTABLE table, PULONG size, BOOL sorted);

class Win32IfTable : public IfTableSource {
public:
    // Room for the row count and 513 rows; a larger table is read again with the size
    // GetIfTable asks for.
    static constexpr ULONG DefaultBufferSize = 441184;

    ~Win32IfTable() override { Release(); }
    bool Load() override;
    bool HasEntry() const override { return IfTableProc != nullptr; }
    bool Loaded() const override { return library_ != nullptr; }
    void Release() override;
    bool Read(std::vector<IfRow>& rows) override;
    bool Counters64() const override { return false; }

private:
    HMODULE library_ = nullptr;
    GetIfTableProc IfTableProc = nullptr;
    std::vector<unsigned char> buffer_;
};
