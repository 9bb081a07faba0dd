#include "platform/iftable_win.h"

#include <cstddef>

static_assert(offsetof(MIB_IFTABLE, table) + 513 * sizeof(MIB_IFROW) == Win32IfTable::DefaultBufferSize,
              "the default buffer holds the row count and 513 rows");

bool Win32IfTable::Load()
{
    if (!library_)
        library_ = LoadLibraryA("IPHLPAPI.DLL");
    if (!library_)
        return false;
    IfTableProc = reinterpret_cast<GetIfTableProc>(reinterpret_cast<void*>(GetProcAddress(library_, "GetIfTable")));
    return true;
}

void Win32IfTable::Release()
{
    IfTableProc = nullptr;
    if (library_)
        FreeLibrary(library_);
    library_ = nullptr;
}

bool Win32IfTable::Read(std::vector<IfRow>& rows)
{
    rows.clear();
    if (!IfTableProc)
        return false;
    ULONG size = DefaultBufferSize;
    if (buffer_.size() < size)
        buffer_.resize(size);
    DWORD result = IfTableProc(reinterpret_cast<PMIB_IFTABLE>(buffer_.data()), &size, FALSE);
    if (result == ERROR_INSUFFICIENT_BUFFER && size > buffer_.size()) {
        buffer_.resize(size);
        result = IfTableProc(reinterpret_cast<PMIB_IFTABLE>(buffer_.data()), &size, FALSE);
    }
    if (result != NO_ERROR)
        return false;
    const auto* table = reinterpret_cast<const MIB_IFTABLE*>(buffer_.data());
    rows.reserve(table->dwNumEntries);
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const MIB_IFROW& row = table->table[i];
        rows.push_back({IfDescription(row.bDescr, sizeof row.bDescr, row.dwDescrLen), row.dwInOctets, row.dwOutOctets,
                        row.dwIndex, row.dwSpeed, row.dwSpeed});
    }
    return true;
}
