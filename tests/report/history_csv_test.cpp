#include "report/history_csv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "report/history_report.h"

namespace {

std::string ReadGolden(const char* name)
{
    std::ifstream in(std::string(REPORT_GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A small history: two connections, two stretches on one day, an undated record, a name with
// the separator and a quote, an alias in Cyrillic, one connection without a tariff entry.
struct CsvFixture : ::testing::Test {
    DayRecordArray history;
    TariffArray tariffs;
    void Add(const char* name, uint16_t y, uint16_t m, uint16_t d, uint32_t in, uint32_t out)
    {
        DayRecord& r = history.Append(name);
        r.Year = y, r.Month = m, r.Day = d, r.InOctets = in, r.OutOctets = out;
    }
    void SetUp() override
    {
        Add("eth0", 2026, 12, 2, 1048576, 524288);
        Add("Modem; \"MTS\"", 2026, 12, 1, 3000, 2000);
        Add("eth0", 2026, 12, 1, 4096, 1024);
        Add("eth0", 2026, 12, 2, 1048576, 0);  // the same day again
        Add("eth0", 0, 0, 0, 777, 777);         // undated: left out
        Add("lo", 2026, 11, 30, 10, 10);
        int e = tariffs.Add("eth0", "Домашний");
        tariffs[e].PriceIn = 1.5;
        tariffs[e].PriceOut = 0.25;
        e = tariffs.Add("Modem; \"MTS\"", "Modem; \"MTS\"");
        tariffs[e].PriceIn = 2;
    }
    std::string Csv(char list, char decimal)
    {
        return HistoryCsv(history, tariffs, list, decimal, [](const std::string& ansi) {
            return Utf8(FromWindows1251(ansi));  // the test's names are in 1251
        });
    }
};

TEST_F(CsvFixture, MatchesTheGoldenFilesUnderACommaAndAPoint)
{
    EXPECT_EQ(Csv(';', ','), ReadGolden("golden_history_comma.csv"));
    EXPECT_EQ(Csv(',', '.'), ReadGolden("golden_history_point.csv"));
    EXPECT_EQ(Csv(',', ','), Csv(';', ',')) << "a list separator equal to the decimal one gives way to ';'";
}

}  // namespace
