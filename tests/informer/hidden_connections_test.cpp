#include "informer/hidden_connections.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(HiddenConnections, ExactWholeLineMatchOnEveryLineEnd)
{
    auto folder = std::filesystem::temp_directory_path() / "vornik-hidden-test";
    std::filesystem::create_directories(folder);
    struct Case {
        const char* file;  // nullptr: no file
        const char* name;
        uint8_t shows;
    };
    const Case cases[] = {
        {nullptr, "eth0", 1},
        {"", "eth0", 1},
        {"eth0\r\n", "eth0", 0},
        {"ETH0\r\n", "eth0", 1},
        {"eth0 \r\n", "eth0", 1},
        {"lo\neth0", "eth0", 0},
        {"lo\reth0\r", "eth0", 0},
        {"eth0\r\neth0\r\n", "eth0", 0},
        {"lo\r\n\r\n", "", 0},
        {"lo\r\n", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "<missing>");
        std::filesystem::remove(folder / "nast_o.txt");
        if (c.file)
            std::ofstream(folder / "nast_o.txt", std::ios::binary) << c.file;
        EXPECT_EQ(InformerShows(c.name, folder), c.shows);
        EXPECT_EQ(HiddenConnections(folder).InformerShows(c.name), c.shows);
    }
    std::filesystem::remove_all(folder);
}

TEST(HiddenConnections, ASavedChoiceCountsFromTheNextRead)
{
    auto folder = std::filesystem::temp_directory_path() / "vornik-hidden-read-test";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "nast_o.txt", std::ios::binary) << "eth0\r\n";
    HiddenConnections thisPass(folder);
    std::ofstream(folder / "nast_o.txt", std::ios::binary | std::ios::trunc) << "ppp0\r\n";
    EXPECT_EQ(thisPass.InformerShows("eth0"), 0);
    EXPECT_EQ(thisPass.InformerShows("ppp0"), 1);
    HiddenConnections nextPass(folder);
    EXPECT_EQ(nextPass.InformerShows("eth0"), 1);
    EXPECT_EQ(nextPass.InformerShows("ppp0"), 0);
    std::filesystem::remove_all(folder);
}
