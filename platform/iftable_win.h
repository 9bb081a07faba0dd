#pragma once
// The interface table of IPHLPAPI.DLL, loaded at run time: the program also starts where
// the library is missing (and stays idle there), and where it lacks the 64-bit table
// (Windows XP has GetIfTable only).
//
// Only <windows.h> here: the table structures need <winsock2.h> before <windows.h>, which
// the files that include this header cannot all promise. iftable_win.cpp includes them in
// that order and checks these entry point types against the SDK's declarations.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/iftable.h"

struct _MIB_IFTABLE;    // MIB_IFTABLE
struct _MIB_IF_TABLE2;  // MIB_IF_TABLE2

// GetIfTable: the 32-bit counters, into a buffer of the caller's.
using GetIfTableProc = DWORD(WINAPI*)(_MIB_IFTABLE* table, PULONG size, BOOL sorted);
// GetIfTable2 (Windows Vista and later): the 64-bit counters, in a table the library
// allocates and FreeMibTable frees.
using GetIfTable2Proc = DWORD(WINAPI*)(_MIB_IF_TABLE2** table);
using FreeMibTableProc = VOID(WINAPI*)(PVOID memory);

class Win32IfTable : public IfTableSource {
public:
    // Room for the row count and 513 rows; a larger table is read again with the size
    // GetIfTable asks for, and that size is kept for the reads after it.
    static constexpr ULONG DefaultBufferSize = 441184;
    // How often one read asks GetIfTable again for a larger buffer: the table may grow
    // between two calls, but not without end.
    static constexpr int MaxTableAttempts = 4;

    // only32: read GetIfTable even where GetIfTable2 exists (the program's vrn15_if32
    // build, which shows how it behaves on Windows XP).
    explicit Win32IfTable(bool only32 = false) : only32_(only32) {}
    ~Win32IfTable() override { Release(); }
    Win32IfTable(const Win32IfTable&) = delete;
    Win32IfTable& operator=(const Win32IfTable&) = delete;

    bool Load() override;
    bool HasEntry() const override { return Uses64() || IfTableProc != nullptr; }
    bool Loaded() const override { return library_ != nullptr; }
    void Release() override;
    bool Read(std::vector<IfRow>& rows) override;
    // The way of reading is chosen at Load, so every read until Release has the same kind
    // of rows: true while GetIfTable2 (with FreeMibTable) is the one in use.
    bool Counters64() const override { return Uses64(); }

protected:
    // Resolved by Load; tests put scripted tables in their place after it.
    GetIfTableProc IfTableProc = nullptr;
    GetIfTable2Proc IfTable2Proc = nullptr;
    FreeMibTableProc FreeMibTableEntry = nullptr;

private:
    bool Uses64() const { return IfTable2Proc != nullptr && FreeMibTableEntry != nullptr; }
    bool Read64(std::vector<IfRow>& rows);
    bool Read32(std::vector<IfRow>& rows);

    bool only32_;
    HMODULE library_ = nullptr;
    std::vector<unsigned char> buffer_;  // GetIfTable's buffer; its size is the one that last worked
};

// A MIB_IF_ROW2 description (fieldChars wide characters, up to the first zero) as the bytes
// GetIfTable hands over for it: the system's ANSI code page, at most the 255 bytes that
// bDescr holds with a terminating zero after them, cut between characters.
std::string AnsiIfDescription(const wchar_t* field, std::size_t fieldChars);
