#include "engine/formats.h"

#include <gtest/gtest.h>

namespace {

// Every case under a comma; the point form is the same text with "." for ",".
std::string Point(std::string text)
{
    for (char& c : text)
        if (c == ',')
            c = '.';
    return text;
}

TEST(Formats, FixedPatternsRoundHalfAwayFromZero)
{
    struct Case {
        double value;
        int decimals;
        const char* comma;
    };
    const Case cases[] = {
        {0, 1, "0,0"},        {1.25, 1, "1,3"},      {0.15, 1, "0,2"},       {0.05, 1, "0,1"},
        {0.04999, 1, "0,0"},  {9.95, 1, "10,0"},     {999.96, 1, "1000,0"},  {1024, 1, "1024,0"},
        {2.675, 2, "2,68"},   {0.005, 2, "0,01"},    {0.004, 2, "0,00"},     {12.5, 2, "12,50"},
        {-1.25, 1, "-1,3"},   {-0.01, 1, "0,0"},     {1e-20, 2, "0,00"},     {1e20, 2, "100000000000000000000,00"},
        {3.5, 0, "4"},        {1234567, 0, "1234567"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comma);
        EXPECT_EQ(FormatFixed(c.value, c.decimals, ','), c.comma);
        EXPECT_EQ(FormatFixed(c.value, c.decimals, '.'), Point(c.comma));
    }
}

TEST(Formats, TrafficAndMoneyTexts)
{
    struct Case {
        uint64_t a, b;
        const char* comma;
    };
    const Case traffic[] = {
        {0, 0, "0,0 Kb"},
        {1000, 0, "1,0 Kb"},
        {1280, 0, "1,3 Kb"},  // exactly 1,25 KB
        {1048576, 0, "1024,0 Kb"},
        {1048577, 0, "1 Mb 0 Kb"},
        {1572864, 0, "1 Mb 512 Kb"},
        {1048576, 524288, "1 Mb 512 Kb"},
        {5368709120ull, 1024, "5120 Mb 1 Kb"},  // above 4 GiB: no wrap
    };
    for (const Case& c : traffic) {
        SCOPED_TRACE(c.comma);
        EXPECT_EQ(TrafficText(c.a, c.b, ','), c.comma);
        EXPECT_EQ(TrafficText(c.a, c.b, '.'), Point(c.comma));
    }
    EXPECT_EQ(TrafficTextKb(1024, 0, ','), "1024,0 Kb");
    EXPECT_EQ(TrafficTextKb(1024.5, 0, ','), "1 Mb 0 Kb");

    EXPECT_EQ(CostText(0, 0, ','), "0,00 руб.");
    EXPECT_EQ(CostText(1.5 * 1048576, 2.0 * 524288, ','), "2,50 руб.");
    EXPECT_EQ(CostText(1.5 * 1048576, 2.0 * 524288, '.'), "2.50 руб.");
    EXPECT_EQ(CostText(0.001 * 5242880, 0, ','), "0,01 руб.");  // 0,005 rounds up
}

TEST(Formats, DisplayNameIsTheAliasOfTheFirstEntry)
{
    TariffArray tariffs;
    tariffs.Add("eth0", "LAN");
    tariffs.Add("eth0", "second");
    tariffs.Add("ppp0", "");
    EXPECT_EQ(DisplayName(tariffs, "eth0", false), "LAN");
    EXPECT_EQ(DisplayName(tariffs, "eth0", true), "LAN" + Blanks92);
    EXPECT_EQ(DisplayName(tariffs, "ppp0", true), Blanks92);
    EXPECT_EQ(DisplayName(tariffs, "wlan0", true), "wlan0");
    EXPECT_EQ(Blanks92.size(), 92u);
}

}  // namespace
