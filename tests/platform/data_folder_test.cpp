#include "platform/data_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

TEST(ChooseDataFolder, TheWorkingFolderUnlessItIsTheSystemsOrCannotBeWritten)
{
    const fs::path windows = "C:\\Windows", exe = "C:\\Program Files\\Vornik", user = "C:\\Users\\u\\AppData\\Local\\Vornik";
    struct Case {
        const char* what;
        fs::path work;
        std::set<fs::path> writable;
        fs::path folder;
        bool moved;
    };
    const Case cases[] = {
        {"a writable working folder stays the place", "D:\\Traffic", {"D:\\Traffic", exe}, "D:\\Traffic", false},
        {"started by a task: System32, written by an administrator", "C:\\WINDOWS\\system32", {"C:\\WINDOWS\\system32", exe},
         exe, true},
        {"the Windows folder itself", "c:\\windows\\", {"c:\\windows\\", exe}, exe, true},
        {"a folder only named like it", "C:\\Windows2", {"C:\\Windows2"}, "C:\\Windows2", false},
        {"Program Files without elevation", exe, {}, user, true},
        {"a read-only working folder beside a writable executable", "E:\\", {exe}, exe, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FolderChoice choice =
            ChooseDataFolder(c.work, exe, windows, user, [&](const fs::path& p) { return c.writable.count(p) > 0; });
        EXPECT_EQ(choice.Folder, c.folder);
        EXPECT_EQ(choice.Moved, c.moved);
    }
}

struct TakeOverFixture : ::testing::Test {
    fs::path root = fs::temp_directory_path() / "vornik-data-folder-test";
    fs::path oldFolder = root / "old", exeFolder = root / "exe", chosen = root / "new";
    void SetUp() override
    {
        fs::remove_all(root);
        for (const fs::path& p : {oldFolder, exeFolder, chosen})
            fs::create_directories(p);
    }
    void TearDown() override { fs::remove_all(root); }
    static void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    static std::string Read(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(TakeOverFixture, ANewFolderTakesTheFirstEarlierFolderWithState)
{
    Write(oldFolder / "history.txt", "days");
    Write(oldFolder / "vrn15.ini", "[SIZEPOL]");
    Write(exeFolder / "price.txt", "not taken: the working folder came first");
    EXPECT_EQ(TakeOverStateFiles(chosen, {oldFolder, exeFolder}), oldFolder);
    EXPECT_EQ(Read(chosen / "history.txt"), "days");
    EXPECT_EQ(Read(chosen / "vrn15.ini"), "[SIZEPOL]");
    EXPECT_FALSE(fs::exists(chosen / "price.txt"));
    EXPECT_EQ(Read(oldFolder / "history.txt"), "days") << "copied, not moved";
}

TEST_F(TakeOverFixture, AFolderWithItsOwnStateTakesNothing)
{
    Write(chosen / "counters.txt", "own");
    Write(oldFolder / "history.txt", "days");
    EXPECT_EQ(TakeOverStateFiles(chosen, {oldFolder}), fs::path());
    EXPECT_FALSE(fs::exists(chosen / "history.txt"));
}

TEST_F(TakeOverFixture, ACopyThatFailsTakesBackTheOthersSoTheNextStartTriesAgain)
{
    Write(oldFolder / "history.txt", "days");
    Write(oldFolder / "price.txt", "prices");
    fs::create_directory(chosen / "price.txt");  // in the way: the second copy fails
    EXPECT_THROW(TakeOverStateFiles(chosen, {oldFolder}), fs::filesystem_error);
    EXPECT_FALSE(fs::exists(chosen / "history.txt")) << "a part of the state left behind";
    fs::remove(chosen / "price.txt");
    EXPECT_EQ(TakeOverStateFiles(chosen, {oldFolder}), oldFolder);
    EXPECT_EQ(Read(chosen / "price.txt"), "prices");
}

TEST_F(TakeOverFixture, AUserFolderWithStateIsKeptAlsoWhenTheExecutablesFolderCanBeWritten)
{
    Write(chosen / "history.txt", "days");  // here `chosen` plays the user's folder
    const auto anyFolder = [](const fs::path&) { return true; };
    EXPECT_EQ(ChooseDataFolder("C:\\Windows\\System32", exeFolder, "C:\\Windows", chosen, anyFolder).Folder, chosen);
    EXPECT_EQ(ChooseDataFolder("D:\\Traffic", exeFolder, "C:\\Windows", chosen, anyFolder).Folder, "D:\\Traffic");
}

}  // namespace
