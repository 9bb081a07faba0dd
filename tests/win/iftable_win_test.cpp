// The interface table as the program reads it. This machine's real table both ways: GetIfTable
// through the reader that uses only it (as on Windows XP), GetIfTable2 through the default
// one, matched interface by interface. Scripted tables for what a real one cannot be made to
// do here: more rows than the default buffer holds, a table growing between two calls,
// failing reads, counters beyond 32 bits.
//
// The description tests run once per ANSI code page (CTest starts them with LANG and LC_ALL
// of ru_RU, de_DE and zh_CN, and VORNIK_EXPECTED_ACP saying which code page that gives).
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "platform/iftable_win.h"

namespace {

std::string Hex(const std::string& bytes)
{
    std::string out;
    char two[4];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", c);
        out += two;
    }
    return out;
}

// The environment variable's comma-separated list. Read wide: the narrow environment holds
// the ANSI code page's bytes, which lack letters of other scripts.
std::vector<std::wstring> EnvironmentList(const wchar_t* variable)
{
    std::vector<std::wstring> items;
    const wchar_t* list = _wgetenv(variable);
    if (!list || !*list)
        return items;
    const std::wstring all = list;
    for (std::size_t start = 0; start <= all.size();) {
        std::size_t comma = std::min(all.find(L',', start), all.size());
        items.push_back(all.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

// --- Descriptions in the system's ANSI code page -------------------------------------------

TEST(IfTableCodePage, IsTheOneThisRunIsFor)
{
    const char* expected = std::getenv("VORNIK_EXPECTED_ACP");
    if (!expected)
        GTEST_SKIP() << "started without VORNIK_EXPECTED_ACP; GetACP() is " << GetACP();
    EXPECT_EQ(GetACP(), std::strtoul(expected, nullptr, 10));
}

struct CodePageText {
    UINT codePage;
    const wchar_t* text;  // a description with letters of that code page
    std::string bytes;    // its bytes there
    const wchar_t* letter;
    std::size_t letterBytes;
};

const CodePageText codePageTexts[] = {
    {1251, L"Сетевой адаптер Ёлка", "\xd1\xe5\xf2\xe5\xe2\xee\xe9 \xe0\xe4\xe0\xef\xf2\xe5\xf0 \xa8\xeb\xea\xe0", L"Ж", 1},
    {1252, L"Netzwerkkarte Grün Éé", "Netzwerkkarte Gr\xfcn \xc9\xe9", L"ü", 1},
    {936, L"网卡 以太网", "\xcd\xf8\xbf\xa8 \xd2\xd4\xcc\xab\xcd\xf8", L"网", 2},
};

const CodePageText* ThisCodePage()
{
    for (const CodePageText& c : codePageTexts)
        if (c.codePage == GetACP())
            return &c;
    return nullptr;
}

TEST(AnsiIfDescription, GivesTheBytesOfTheSystemCodePage)
{
    wchar_t field[IF_MAX_STRING_SIZE + 1] = L"Intel(R) PRO/1000 MT";
    EXPECT_EQ(AnsiIfDescription(field, IF_MAX_STRING_SIZE + 1), "Intel(R) PRO/1000 MT");
    EXPECT_EQ(AnsiIfDescription(L"", 1), "");

    const CodePageText* c = ThisCodePage();
    if (!c)
        GTEST_SKIP() << "no letters listed for code page " << GetACP();
    EXPECT_EQ(Hex(AnsiIfDescription(c->text, IF_MAX_STRING_SIZE + 1)), Hex(c->bytes));
}

TEST(AnsiIfDescription, CutToWhatBDescrHoldsBetweenCharacters)
{
    const CodePageText* c = ThisCodePage();
    if (!c)
        GTEST_SKIP() << "no letters listed for code page " << GetACP();
    const std::string letter = AnsiIfDescription(c->letter, 1);
    ASSERT_EQ(letter.size(), c->letterBytes);

    struct Case {
        std::size_t letters;  // in a field of IF_MAX_STRING_SIZE + 1 characters
        bool zeroAfter;       // false: the field is full, with no terminating zero
    };
    const Case cases[] = {{10, true}, {255 / c->letterBytes, true}, {256, true}, {IF_MAX_STRING_SIZE + 1, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.letters) + " letters");
        std::wstring field(IF_MAX_STRING_SIZE + 1, L'x');  // what lies past the text must not count
        field.replace(0, k.letters, k.letters, c->letter[0]);
        if (k.zeroAfter)
            field[k.letters] = L'\0';
        std::size_t fits = std::min(k.letters, (MAXLEN_IFDESCR - 1) / c->letterBytes);
        std::string expected;
        for (std::size_t i = 0; i < fits; ++i)
            expected += letter;
        EXPECT_EQ(Hex(AnsiIfDescription(field.data(), field.size())), Hex(expected));
    }
}

// --- This machine's table, read both ways --------------------------------------------------

// The interface index of each LUID, from IPHLPAPI's own GetIfTable2.
std::map<ULONG64, NET_IFINDEX> IndexOfLuid()
{
    std::map<ULONG64, NET_IFINDEX> index;
    PMIB_IF_TABLE2 table = nullptr;
    if (GetIfTable2(&table) != NO_ERROR)
        return index;
    for (ULONG i = 0; i < table->NumEntries; ++i)
        index[table->Table[i].InterfaceLuid.Value] = table->Table[i].InterfaceIndex;
    FreeMibTable(table);
    return index;
}

std::map<uint64_t, IfRow> ByIdentity(const std::vector<IfRow>& rows)
{
    std::map<uint64_t, IfRow> by;
    for (const IfRow& row : rows)
        by[row.Identity] = row;
    return by;
}

// True when the low 32 bits of a 64-bit counter read between two reads of the 32-bit counter
// lie between those two (the counters only grow, and wrap at 2^32).
bool Between(uint64_t first32, uint64_t middle64, uint64_t last32)
{
    auto a = static_cast<uint32_t>(first32), m = static_cast<uint32_t>(middle64), z = static_cast<uint32_t>(last32);
    return static_cast<uint32_t>(m - a) <= static_cast<uint32_t>(z - a);
}

TEST(RealIfTable, LoadChoosesTheTableAndReleaseForgetsIt)
{
    Win32IfTable only32(true), best;
    for (Win32IfTable* t : {&only32, &best}) {
        ASSERT_TRUE(t->Load());
        EXPECT_TRUE(t->Loaded());
        EXPECT_TRUE(t->HasEntry());
    }
    EXPECT_FALSE(only32.Counters64());
    EXPECT_TRUE(best.Counters64()) << "this Wine has GetIfTable2";

    best.Release();
    std::vector<IfRow> rows(1);
    EXPECT_FALSE(best.HasEntry());
    EXPECT_FALSE(best.Counters64());
    EXPECT_FALSE(best.Read(rows));
    EXPECT_TRUE(rows.empty());
    ASSERT_TRUE(best.Load());
    EXPECT_TRUE(best.Counters64());
    EXPECT_TRUE(best.Read(rows));
}

TEST(RealIfTable, BothTablesDescribeEachInterfaceAlike)
{
    Win32IfTable only32(true), best;
    ASSERT_TRUE(only32.Load());
    ASSERT_TRUE(best.Load());
    std::vector<IfRow> before, rows64, after;
    ASSERT_TRUE(only32.Read(before));
    ASSERT_TRUE(best.Read(rows64));
    ASSERT_TRUE(only32.Read(after));
    const std::map<ULONG64, NET_IFINDEX> indexOf = IndexOfLuid();
    const auto first = ByIdentity(before), last = ByIdentity(after);

    std::size_t matched = 0;
    for (const IfRow& row : rows64) {
        SCOPED_TRACE("LUID " + std::to_string(row.Identity) + " \"" + row.Description + "\" (" + Hex(row.Description) + ")");
        auto index = indexOf.find(row.Identity);
        ASSERT_NE(index, indexOf.end()) << "the row's identity is no LUID of GetIfTable2";
        auto a = first.find(index->second), z = last.find(index->second);
        if (a == first.end() || z == last.end())
            continue;  // a logical interface, which GetIfTable does not list
        ++matched;
        const IfRow& row32 = a->second;
        EXPECT_EQ(Hex(row.Description), Hex(row32.Description)) << "GetIfTable's bytes: \"" << row32.Description << "\"";
        EXPECT_TRUE(Between(row32.InOctets, row.InOctets, z->second.InOctets))
            << row32.InOctets << " .. " << row.InOctets << " .. " << z->second.InOctets;
        EXPECT_TRUE(Between(row32.OutOctets, row.OutOctets, z->second.OutOctets))
            << row32.OutOctets << " .. " << row.OutOctets << " .. " << z->second.OutOctets;
        EXPECT_EQ(row32.InSpeed, row32.OutSpeed);  // dwSpeed serves both directions
        if (row.InSpeed <= UINT32_MAX) {
            EXPECT_EQ(row32.InSpeed, row.InSpeed);
        }
        std::printf("  %-20s %-20s in %llu out %llu speed %llu/%llu bit/s\n", Hex(row.Description).c_str(),
                    row.Description.c_str(), static_cast<unsigned long long>(row.InOctets),
                    static_cast<unsigned long long>(row.OutOctets), static_cast<unsigned long long>(row.InSpeed),
                    static_cast<unsigned long long>(row.OutSpeed));
    }
    EXPECT_GT(matched, 0u) << "no interface of GetIfTable found in GetIfTable2";
    EXPECT_EQ(matched, before.size()) << "every interface GetIfTable lists is one of GetIfTable2's too";
    // VORNIK_EXPECT_INTERFACES (comma-separated): interfaces the run has made, with names
    // beyond ASCII; each must be there, or the comparison above proved nothing for them.
    for (const std::wstring& name : EnvironmentList(L"VORNIK_EXPECT_INTERFACES")) {
        const std::string expected = AnsiIfDescription(name.c_str(), name.size());
        bool found = false;
        for (const IfRow& row : before)
            found = found || row.Description == expected;
        EXPECT_TRUE(found) << "no interface \"" << expected << "\" (" << Hex(expected) << ") in GetIfTable";
    }
}

// --- A scripted GetIfTable: large tables, growing tables ------------------------------------

struct TableScript {
    std::vector<DWORD> rowsAtCall;  // the table's size at each call; the last one stays
    int calls = 0;
};
TableScript tableScript;

DWORD WINAPI ScriptedGetIfTable(_MIB_IFTABLE* table, PULONG size, BOOL)
{
    const auto& at = tableScript.rowsAtCall;
    DWORD rows = at[std::min<std::size_t>(tableScript.calls++, at.size() - 1)];
    ULONG needed = static_cast<ULONG>(offsetof(MIB_IFTABLE, table) + rows * sizeof(MIB_IFROW));
    if (*size < needed) {
        *size = needed;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    table->dwNumEntries = rows;
    for (DWORD i = 0; i < rows; ++i) {
        MIB_IFROW& row = table->table[i];
        row = MIB_IFROW{};
        row.dwIndex = i + 1;
        row.dwInOctets = 1000 + i;
        row.dwOutOctets = 2000 + i;
        row.dwDescrLen = static_cast<DWORD>(std::snprintf(reinterpret_cast<char*>(row.bDescr), sizeof row.bDescr, "if%lu", i + 1ul));
    }
    return NO_ERROR;
}

class ScriptedIfTable : public Win32IfTable {
public:
    ScriptedIfTable() : Win32IfTable(true) {}
    bool Load() override
    {
        bool loaded = Win32IfTable::Load();
        IfTableProc = &ScriptedGetIfTable;
        return loaded;
    }
};

TEST(ScriptedGetIfTable, TablesLargerThanTheDefaultBufferOnEveryRead)
{
    struct Read {
        bool ok;
        DWORD rows;
        int calls;  // GetIfTable calls the read makes
    };
    struct Case {
        const char* what;
        std::vector<DWORD> rowsAtCall;
        std::vector<Read> reads;
    };
    const int n = Win32IfTable::MaxTableAttempts;
    const Case cases[] = {
        {"as many rows as the default buffer holds", {513}, {{true, 513, 1}, {true, 513, 1}, {true, 513, 1}}},
        {"one row more", {514}, {{true, 514, 2}, {true, 514, 1}, {true, 514, 1}}},
        {"many more", {3000}, {{true, 3000, 2}, {true, 3000, 1}, {true, 3000, 1}}},
        {"grows between the two calls", {600, 650}, {{true, 650, 3}, {true, 650, 1}}},
        {"grows after the first read", {600, 600, 700}, {{true, 600, 2}, {true, 700, 2}, {true, 700, 1}}},
        {"shrinks", {600, 600, 10}, {{true, 600, 2}, {true, 10, 1}, {true, 10, 1}}},
        {"grows at every call for a while", {600, 700, 800, 900, 1000, 1100, 1100},
         {{false, 0, n}, {true, 1100, 3}, {true, 1100, 1}}},
    };
    static_assert(Win32IfTable::MaxTableAttempts == 4, "the last case's calls count on four attempts");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tableScript = TableScript{c.rowsAtCall};
        ScriptedIfTable table;
        ASSERT_TRUE(table.Load());
        for (std::size_t r = 0; r < c.reads.size(); ++r) {
            SCOPED_TRACE("read " + std::to_string(r + 1));
            const Read& expected = c.reads[r];
            int before = tableScript.calls;
            std::vector<IfRow> rows;
            EXPECT_EQ(table.Read(rows), expected.ok);
            EXPECT_EQ(tableScript.calls - before, expected.calls);
            EXPECT_EQ(rows.size(), expected.rows);
            if (!rows.empty() && rows.size() == expected.rows) {
                const IfRow& lastRow = rows.back();
                EXPECT_EQ(lastRow.Description, "if" + std::to_string(expected.rows));
                EXPECT_EQ(lastRow.Identity, expected.rows);
                EXPECT_EQ(lastRow.InOctets, 1000u + expected.rows - 1);
                EXPECT_EQ(lastRow.OutOctets, 2000u + expected.rows - 1);
            }
        }
    }
}

// --- A scripted GetIfTable2: failing reads, 64-bit rows -------------------------------------

struct Table2Script {
    DWORD result = NO_ERROR;
    bool givesTable = true;
    MIB_IF_ROW2 row{};
    int allocated = 0, freed = 0;
};
Table2Script table2Script;

DWORD WINAPI ScriptedGetIfTable2(_MIB_IF_TABLE2** table)
{
    if (table2Script.givesTable) {
        auto* t = static_cast<MIB_IF_TABLE2*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(MIB_IF_TABLE2)));
        t->NumEntries = 1;
        t->Table[0] = table2Script.row;
        *table = t;
        ++table2Script.allocated;
    }
    return table2Script.result;
}

VOID WINAPI ScriptedFreeMibTable(PVOID memory)
{
    HeapFree(GetProcessHeap(), 0, memory);
    ++table2Script.freed;
}

class ScriptedIfTable2 : public Win32IfTable {
public:
    bool Load() override
    {
        bool loaded = Win32IfTable::Load();
        IfTable2Proc = &ScriptedGetIfTable2;
        FreeMibTableEntry = &ScriptedFreeMibTable;
        return loaded;
    }
};

TEST(ScriptedGetIfTable2, AFailingReadIsFalseAndFreesWhatItGot)
{
    struct Case {
        DWORD result;
        bool givesTable;
        bool ok;
    };
    const Case cases[] = {
        {NO_ERROR, true, true},
        {NO_ERROR, false, false},
        {ERROR_NOT_ENOUGH_MEMORY, false, false},
        {ERROR_NOT_ENOUGH_MEMORY, true, false},
        {ERROR_NOT_SUPPORTED, true, false},
        {static_cast<DWORD>(0xC0000017), true, false},  // an NTSTATUS (STATUS_NO_MEMORY)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("result " + std::to_string(c.result) + (c.givesTable ? ", with a table" : ", no table"));
        table2Script = Table2Script{c.result, c.givesTable};
        ScriptedIfTable2 table;
        ASSERT_TRUE(table.Load());
        std::vector<IfRow> rows;
        EXPECT_EQ(table.Read(rows), c.ok);
        EXPECT_EQ(rows.size(), c.ok ? 1u : 0u);
        EXPECT_EQ(table2Script.freed, table2Script.allocated);
    }
}

TEST(ScriptedGetIfTable2, RowsKeepTheFull64BitCountersTheirLuidAndBothSpeeds)
{
    table2Script = Table2Script{};
    MIB_IF_ROW2& row = table2Script.row;
    row.InterfaceLuid.Value = 0x0006000001000000ull;
    row.InterfaceIndex = 7;
    wcscpy(row.Description, L"Realtek PCIe GbE Family Controller");
    row.InOctets = 0x123456789ull;  // past 2^32
    row.OutOctets = 0xFFFFFFFF00000001ull;
    row.ReceiveLinkSpeed = 10000000000ull;
    row.TransmitLinkSpeed = 1000000000ull;
    ScriptedIfTable2 table;
    ASSERT_TRUE(table.Load());
    EXPECT_TRUE(table.Counters64());
    std::vector<IfRow> rows;
    ASSERT_TRUE(table.Read(rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Description, "Realtek PCIe GbE Family Controller");
    EXPECT_EQ(rows[0].InOctets, 0x123456789ull);
    EXPECT_EQ(rows[0].OutOctets, 0xFFFFFFFF00000001ull);
    EXPECT_EQ(rows[0].Identity, 0x0006000001000000ull);
    EXPECT_EQ(rows[0].InSpeed, 10000000000ull);
    EXPECT_EQ(rows[0].OutSpeed, 1000000000ull);
}

}  // namespace
