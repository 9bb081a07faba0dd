// MIB_IF_TABLE2 is declared only with <winsock2.h> and <ws2tcpip.h> before <iphlpapi.h>,
// and <winsock2.h> has to come before <windows.h>: these first, then the header.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>

#include "platform/iftable_win.h"

#include <cstddef>
#include <type_traits>
#include <utility>

// The entry points are called through these types: a mismatch with the SDK (a lost WINAPI
// shows only in the 32-bit build) must not compile.
static_assert(std::is_same_v<GetIfTableProc, decltype(&::GetIfTable)>);
static_assert(std::is_same_v<GetIfTable2Proc, decltype(&::GetIfTable2)>);
static_assert(std::is_same_v<FreeMibTableProc, decltype(&::FreeMibTable)>);

static_assert(offsetof(MIB_IFTABLE, table) + 513 * sizeof(MIB_IFROW) == Win32IfTable::DefaultBufferSize,
              "the default buffer holds the row count and 513 rows");

namespace {

template <typename Proc>
Proc Entry(HMODULE library, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Frees what GetIfTable2 returned on every way out of a read.
class MibTable {
public:
    explicit MibTable(FreeMibTableProc free) : free_(free) {}
    ~MibTable()
    {
        if (table)
            free_(table);
    }
    MibTable(const MibTable&) = delete;
    MibTable& operator=(const MibTable&) = delete;

    PMIB_IF_TABLE2 table = nullptr;

private:
    FreeMibTableProc free_;
};

}  // namespace

// Flags 0, as GetIfTable converts: the same best-fit letters and default character for what
// the code page lacks (under Wine "grün" is "grun" in 1251 and "????" the Cyrillic in 1252,
// both ways).
std::string AnsiIfDescription(const wchar_t* field, std::size_t fieldChars)
{
    constexpr int maxBytes = MAXLEN_IFDESCR - 1;  // what bDescr holds with a zero after it
    int chars = 0;  // up to the first zero, which a full field may lack
    while (static_cast<std::size_t>(chars) < fieldChars && field[chars] != L'\0')
        ++chars;
    auto bytesFor = [&](int n) { return n ? WideCharToMultiByte(CP_ACP, 0, field, n, nullptr, 0, nullptr, nullptr) : 0; };
    int bytes = bytesFor(chars);
    // Longer than bDescr: the longest run of whole characters that fits (a character of a
    // double-byte code page is never split).
    while (bytes > maxBytes)
        bytes = bytesFor(--chars);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    if (bytes > 0 && WideCharToMultiByte(CP_ACP, 0, field, chars, text.data(), bytes, nullptr, nullptr) != bytes)
        return {};
    return text;
}

bool Win32IfTable::Load()
{
    if (!library_)
        library_ = LoadLibraryA("IPHLPAPI.DLL");
    if (!library_)
        return false;
    IfTableProc = Entry<GetIfTableProc>(library_, "GetIfTable");
    if (!only32_) {
        IfTable2Proc = Entry<GetIfTable2Proc>(library_, "GetIfTable2");
        FreeMibTableEntry = Entry<FreeMibTableProc>(library_, "FreeMibTable");
    }
    return true;
}

void Win32IfTable::Release()
{
    IfTableProc = nullptr;
    IfTable2Proc = nullptr;
    FreeMibTableEntry = nullptr;
    if (library_)
        FreeLibrary(library_);
    library_ = nullptr;
}

bool Win32IfTable::Read(std::vector<IfRow>& rows)
{
    rows.clear();
    if (Uses64())
        return Read64(rows);
    if (IfTableProc)
        return Read32(rows);
    return false;
}

bool Win32IfTable::Read64(std::vector<IfRow>& rows)
{
    MibTable got(FreeMibTableEntry);
    if (IfTable2Proc(&got.table) != NO_ERROR || !got.table)
        return false;
    rows.reserve(got.table->NumEntries);
    for (ULONG i = 0; i < got.table->NumEntries; ++i) {
        const MIB_IF_ROW2& row = got.table->Table[i];
        IfRow out;
        out.Description = AnsiIfDescription(row.Description, sizeof row.Description / sizeof row.Description[0]);
        out.InOctets = row.InOctets;
        out.OutOctets = row.OutOctets;
        out.Identity = row.InterfaceLuid.Value;
        out.InSpeed = row.ReceiveLinkSpeed;
        out.OutSpeed = row.TransmitLinkSpeed;
        out.FilterInterface = row.InterfaceAndOperStatusFlags.FilterInterface;
        rows.push_back(std::move(out));
    }
    return true;
}

bool Win32IfTable::Read32(std::vector<IfRow>& rows)
{
    if (buffer_.empty())
        buffer_.resize(DefaultBufferSize);
    DWORD result = ERROR_INSUFFICIENT_BUFFER;
    for (int attempt = 0; attempt < MaxTableAttempts && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        ULONG size = static_cast<ULONG>(buffer_.size());
        result = IfTableProc(reinterpret_cast<PMIB_IFTABLE>(buffer_.data()), &size, FALSE);
        if (result == ERROR_INSUFFICIENT_BUFFER) {
            if (size <= buffer_.size())
                return false;
            buffer_.resize(size);  // kept: the next read starts with the size that worked
        }
    }
    if (result != NO_ERROR)
        return false;
    const auto* table = reinterpret_cast<const MIB_IFTABLE*>(buffer_.data());
    // Never past the buffer, whatever row count the table claims.
    if (table->dwNumEntries > (buffer_.size() - offsetof(MIB_IFTABLE, table)) / sizeof(MIB_IFROW))
        return false;
    rows.reserve(table->dwNumEntries);
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const MIB_IFROW& row = table->table[i];
        IfRow out;
        out.Description = IfDescription(row.bDescr, sizeof row.bDescr, row.dwDescrLen);
        out.InOctets = row.dwInOctets;
        out.OutOctets = row.dwOutOctets;
        out.Identity = row.dwIndex;
        out.InSpeed = out.OutSpeed = row.dwSpeed;
        rows.push_back(std::move(out));
    }
    return true;
}
