#include "platform/iftable.h"

#include <gtest/gtest.h>

TEST(IfDescription, UpToTheFirstZeroThenCutToTheRowsLength)
{
    unsigned char field[256] = {};
    const char text[] = "Intel(R) Ethernet\0junk";
    std::copy(std::begin(text), std::end(text), field);
    EXPECT_EQ(IfDescription(field, sizeof field, 100), "Intel(R) Ethernet");
    EXPECT_EQ(IfDescription(field, sizeof field, 5), "Intel");
    EXPECT_EQ(IfDescription(field, sizeof field, 0), "");

    std::fill(std::begin(field), std::end(field), 'x');
    EXPECT_EQ(IfDescription(field, sizeof field, 1000).size(), 256u);
}
