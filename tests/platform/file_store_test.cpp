#include "platform/file_store.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

TEST(ReadFileInBlocks, HandsOverEveryByteOnceAndGrowsForALongLine)
{
    const fs::path file = fs::temp_directory_path() / "vornik-blocks-test.txt";
    // Three megabytes: short lines, then one line longer than a block.
    std::string content;
    for (int i = 0; content.size() < (1u << 20) + 100; ++i)
        content += "line " + std::to_string(i) + "\n";
    content += std::string(3u << 19, 'x') + "\n" + "tail without an end";
    std::ofstream(file, std::ios::binary) << content;

    std::string gathered;
    int calls = 0, lastCalls = 0;
    ASSERT_TRUE(ReadFileInBlocks(file, [&](std::string_view text, bool atEnd) {
        ++calls;
        lastCalls += atEnd;
        std::size_t take = atEnd ? text.size() : text.rfind('\n') + 1;  // whole lines only
        gathered += text.substr(0, take);
        return take;
    }));
    EXPECT_EQ(gathered, content);
    EXPECT_GE(calls, 3);
    EXPECT_EQ(lastCalls, 1);

    std::string whole;
    ASSERT_TRUE(ReadWholeFile(file, whole));
    EXPECT_EQ(whole, content);
    fs::remove(file);
}

TEST(ReadFileInBlocks, AMissingFileOrAFolderIsNotRead)
{
    const fs::path folder = fs::temp_directory_path();
    auto never = [](std::string_view, bool) -> std::size_t {
        ADD_FAILURE() << "nothing to hand over";
        return 0;
    };
    EXPECT_FALSE(ReadFileInBlocks(folder / "vornik-no-such-file.txt", never));
    EXPECT_FALSE(ReadFileInBlocks(folder, never));
    std::string bytes;
    EXPECT_FALSE(ReadWholeFile(folder / "vornik-no-such-file.txt", bytes));
    EXPECT_FALSE(ReadWholeFile(folder, bytes));
}

}  // namespace
