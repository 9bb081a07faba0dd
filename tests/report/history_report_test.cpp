#include "report/history_report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

const std::string Dialup = "PPPoE Дом";  // its tariff entry's alias holds HTML-special characters
const std::string DialupLowerCase = "pppoe дом";  // another connection: names compare exactly
const std::string NoRecords = "Wi-Fi <5 ГГц> & \"гость\"";  // no records and no tariff entry

void AddRecord(DayRecordArray& history, const std::string& name, uint16_t day, uint16_t month, uint32_t in,
               uint32_t out)
{
    DayRecord& r = history.Append(name);
    r.Day = day;
    r.Month = month;
    r.Year = 2026;
    r.InOctets = in;
    r.OutOctets = out;
}

void AddTariff(TariffArray& tariffs, const std::string& name, const std::string& alias, double priceIn,
               double priceOut)
{
    int i = tariffs.Add(name, alias);
    tariffs[i].PriceIn = priceIn;
    tariffs[i].PriceOut = priceOut;
}

// A table in time order, as sampling fills it. Octets are picked so each text is exact:
// 1 MB = 1048576, 1 KB = 1024.
struct Fixture {
    DayRecordArray history;
    TariffArray tariffs;

    Fixture()
    {
        AddTariff(tariffs, "eth0", "LAN", 7, 9);
        AddTariff(tariffs, Dialup, "Дом <\"A&B\">", 1.5, 0);

        AddRecord(history, Dialup, 30, 11, 2097152, 524288);  // alone in its month, the oldest day
        AddRecord(history, DialupLowerCase, 30, 11, 5000, 6000);
        AddRecord(history, Dialup, 1, 12, 524288, 524288);  // exactly 1024 KB in total
        AddRecord(history, Dialup, 2, 12, 1049088, 0);      // 1024.5 KB
        AddRecord(history, Dialup, 3, 12, 102400, 51200);
        AddRecord(history, Dialup, 4, 12, 204800, 0);
        AddRecord(history, Dialup, 3, 12, 10240, 10240);  // the same date again, after another one
        // Three segments of one day, split by another connection's records.
        AddRecord(history, Dialup, 5, 12, 1048576, 1048576);
        AddRecord(history, DialupLowerCase, 5, 12, 300000, 400000);
        AddRecord(history, Dialup, 5, 12, 524288, 0);
        AddRecord(history, DialupLowerCase, 5, 12, 7, 9);
        AddRecord(history, Dialup, 5, 12, 524288, 1024);
    }
};

std::string ReadGolden(const std::string& fileName)
{
    std::ifstream in(std::string(REPORT_GOLDEN_DIR) + "/" + fileName, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << fileName;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The golden pages are written by hand from the page layout, in Windows-1251 with CR LF.
TEST(HistoryReportPage, MatchesGoldenPages)
{
    struct Case {
        const std::string& connection;
        const char* golden;
    };
    const Case cases[] = {
        {Dialup, "golden_connection.htm"},
        {NoRecords, "golden_no_records.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        Fixture f;
        EXPECT_EQ(HistoryReportPage(f.history, f.tariffs, c.connection, ','), ReadGolden(c.golden));
    }
}

// One day's segments add up beyond 4 GiB in both directions; the point as separator.
TEST(HistoryReportPage, DaySumsAbove4GiBDoNotWrap)
{
    const uint32_t GiB = 1u << 30;
    DayRecordArray history;
    TariffArray tariffs;
    AddTariff(tariffs, "ADSL", "ADSL", 0.5, 1);
    AddRecord(history, "ADSL", 7, 12, 3 * GiB, 3 * GiB);
    AddRecord(history, "ADSL", 7, 12, 3 * GiB, 2 * GiB);

    const std::string page = HistoryReportPage(history, tariffs, "ADSL", '.');
    const std::string dayCell = "<span class=\"style2\"><span class=\"style2\">";
    for (const char* text : {"6144 Mb 0 Kb</span></span>", "5120 Mb 0 Kb</span></span>",
                             "11264 Mb 0 Kb</span></span>", "0.5 руб </span>", "8192.00 руб.</span></span>"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(page.find(dayCell + text), std::string::npos);
    }
    EXPECT_NE(page.find("<strong>8192.00</strong></div></td></tr>"), std::string::npos);  // the month's cost
}

TEST(ReportPriceLookup, FindsAppendsWithAliasOrGivesZeroWhenFull)
{
    TariffArray tariffs;
    AddTariff(tariffs, "eth0", "LAN", 7, 9);
    AddTariff(tariffs, "PPPoE", "", 1.5, 0.25);
    EXPECT_EQ(ReportPriceLookup(tariffs, "PPPoE", false), 1.5);
    EXPECT_EQ(ReportPriceLookup(tariffs, "PPPoE", true), 0.25);
    EXPECT_EQ(ReportPriceLookup(tariffs, "eth0", true), 9);
    EXPECT_EQ(tariffs.TariffCount(), 2);

    EXPECT_EQ(ReportPriceLookup(tariffs, "pppoe", false), 0);
    EXPECT_EQ(ReportPriceLookup(tariffs, "pppoe", true), 0);
    ASSERT_EQ(tariffs.TariffCount(), 3);  // appended once, found the second time
    EXPECT_EQ(tariffs[3].Name, "pppoe");
    EXPECT_EQ(tariffs[3].Alias, "pppoe");
    EXPECT_EQ(tariffs[3].PriceIn, 0);
    EXPECT_EQ(tariffs[3].PriceOut, 0);

    while (!tariffs.Full())
        tariffs.Add("filler" + std::to_string(tariffs.TariffCount()), "");
    EXPECT_EQ(ReportPriceLookup(tariffs, "absent", false), 0);
    EXPECT_EQ(ReportPriceLookup(tariffs, "PPPoE", false), 1.5);
    EXPECT_EQ(tariffs.TariffCount(), TariffArray::Capacity);
    EXPECT_EQ(tariffs.Find("absent"), 0);
}

TEST(ReportPriceLookup, PageAppendsAnEntryOnlyForAListedConnectionWithoutOne)
{
    Fixture f;
    const int before = f.tariffs.TariffCount();
    HistoryReportPage(f.history, f.tariffs, NoRecords, ',');
    EXPECT_EQ(f.tariffs.TariffCount(), before);  // no day row, so no lookup

    HistoryReportPage(f.history, f.tariffs, DialupLowerCase, ',');
    ASSERT_EQ(f.tariffs.TariffCount(), before + 1);
    EXPECT_EQ(f.tariffs[before + 1].Name, DialupLowerCase);
    EXPECT_EQ(f.tariffs[before + 1].Alias, DialupLowerCase);
}

TEST(ArchiveFileName, ReplacesForbiddenCharactersAndNeverReusesAName)
{
    struct Case {
        const char* date;
        std::set<std::string> taken;
        const char* name;
    };
    const Case cases[] = {
        {"06.12.2026", {}, "arxiv_06.12.2026_history.txt"},
        {"12/9/2026", {}, "arxiv_12-9-2026_history.txt"},
        {"a\\b:c*d?e\"f<g>h|i\tj\x1fk", {}, "arxiv_a-b-c-d-e-f-g-h-i-j-k_history.txt"},
        {"6 дек. 2026", {}, "arxiv_6 дек. 2026_history.txt"},  // letters of the code page stay
        {"06.12.2026", {"arxiv_06.12.2026_history.txt"}, "arxiv_06.12.2026_2_history.txt"},
        {"06.12.2026",
         {"arxiv_06.12.2026_history.txt", "arxiv_06.12.2026_2_history.txt"},
         "arxiv_06.12.2026_3_history.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        auto exists = [&](const std::string& name) { return c.taken.count(name) > 0; };
        EXPECT_EQ(ArchiveFileName(c.date, exists), c.name);
    }
}

}  // namespace

namespace {

// The Unicode character of a Windows-1251 byte, as the system's own tables have it.
char32_t FromWindows1251(unsigned char byte)
{
#ifdef _WIN32
    wchar_t wide = 0;
    const char narrow = static_cast<char>(byte);
    return MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, &narrow, 1, &wide, 1) == 1 ? wide : 0;
#else
    iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    char in[1] = {static_cast<char>(byte)};
    char out[4] = {};
    char *inp = in, *outp = out;
    std::size_t inLeft = 1, outLeft = 4;
    const bool ok = iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok ? static_cast<char32_t>(static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8 |
                                      static_cast<unsigned char>(out[2]) << 16)
              : 0;
#endif
}

TEST(UnicodeToPage, EveryCharacterOfWindows1251IsItsByte)
{
    for (int byte = 0x20; byte < 0x100; ++byte) {
        const char32_t c = FromWindows1251(static_cast<unsigned char>(byte));
        if (c == 0 || c == '&' || c == '<' || c == '>' || c == '"' || (c >= 0x80 && c < 0xA0))
            continue;  // no character (0x98), an escaped one, or the control code a system maps 0x98 to
        EXPECT_EQ(UnicodeToPage(std::u32string(1, c)), std::string(1, static_cast<char>(byte))) << std::hex << byte;
    }
}

TEST(UnicodeToPage, OtherCharactersBecomeReferences)
{
    const struct {
        std::u32string text;
        std::string page;
    } cases[] = {
        {U"Z\u00e4hler", "Z&#228;hler"},                       // German, code page 1252
        {U"\u7f51\u5361 1", "&#32593;&#21345; 1"},            // Chinese, 936
        {U"\u041c\u043e\u0434\u0435\u043c \u20ac", "\xcc\xee\xe4\xe5\xec \x88"},  // Russian and the euro stay bytes
        {U"\U0001F600", "&#128512;"},                          // beyond the 16-bit range
        {U"a&<b>\"", "a&amp;&lt;b&gt;&quot;"},
        {U"&#65;", "&amp;#65;"},                               // a name that looks like a reference
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnicodeToPage(c.text), c.page);
}

}  // namespace
