#include "engine/number_format.h"

#include <gtest/gtest.h>

#include "platform/regional.h"

#include <cmath>

TEST(FormatGeneral, FifteenDigitsFixedFromATenThousandthScientificOutside)
{
    struct Case {
        double value;
        const char* comma;
    };
    const Case cases[] = {
        {0, "0"},
        {1.5, "1,5"},
        {2, "2"},
        {-2.25, "-2,25"},
        {1e-5, "1E-5"},
        {0.00005, "5E-5"},
        {0.0001, "0,0001"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {123456789012345, "123456789012345"},
        {999999999999999.4, "999999999999999"},
        {1e15, "1E15"},
        {1.5e20, "1,5E20"},
        {1.23456789012345678e-7, "1,23456789012346E-7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comma);
        EXPECT_EQ(FormatGeneral(c.value, ','), c.comma);
        std::string point = c.comma;
        for (char& ch : point)
            if (ch == ',')
                ch = '.';
        EXPECT_EQ(FormatGeneral(c.value, '.'), point);
    }
}

TEST(ParseNumber, AcceptsEitherSeparatorTheRegionalOneAndNothingButANumber)
{
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    // The regional separator here is ";" (a user's own setting); "." and "," read as well.
    const Case cases[] = {
        {"1,5", true, 1.5},   {"1.5", true, 1.5},  {"  2 ", true, 2},     {"-3", true, -3},
        {"+4", true, 4},      {"1e3", true, 1000}, {"1,5E-2", true, 0.015}, {",5", true, 0.5},
        {"5,", true, 5},      {"0", true, 0},      {"", false, 0},        {"   ", false, 0},
        {"abc", false, 0},    {"1,5x", false, 0},  {"1.2.3", false, 0},   {"e5", false, 0},
        {"1e", false, 0},     {"inf", false, 0},   {"nan", false, 0},     {"1 000", false, 0},
        {"1e999", false, 0},  {"-", false, 0},    {"1;5", true, 1.5},    {"1;5,5", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double value = -99;
        EXPECT_EQ(ParseNumber(c.text, value, ';'), c.ok);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(value, c.value);
        }
    }
}

TEST(FormatGeneral, ReadsBackToTheSameValueUnderEachSeparator)
{
    for (char sep : {',', '.', ';', '\''})
        for (double v : {0.0, 1.5, 0.1, 2.0 / 3, 1e-5, 12345.678, 1e300, 4.9e-300}) {
            double back = -1;
            ASSERT_TRUE(ParseNumber(FormatGeneral(v, sep), back, sep)) << v << " with " << sep;
            EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
        }
}

TEST(UsableDecimalSeparator, KeepsAPlainCharacterAndTurnsAnythingAmbiguousIntoAPoint)
{
    struct Case {
        unsigned first;
        std::size_t length;
        char used;
    };
    const Case cases[] = {{',', 1, ','}, {'.', 1, '.'}, {';', 1, ';'}, {'\'', 1, '\''},
                          {0x066B, 1, '.'},  // Arabic decimal separator
                          {',', 2, '.'},     {' ', 1, '.'}, {'5', 1, '.'}, {'-', 1, '.'}, {'E', 1, '.'},
                          {'@', 1, '.'},     {'|', 1, '.'}, {'>', 1, '.'}, {0, 0, '.'}};
    for (const Case& c : cases)
        EXPECT_EQ(UsableDecimalSeparator(c.first, c.length), c.used) << c.first;
}
