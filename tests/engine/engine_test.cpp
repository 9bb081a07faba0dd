#include "engine/engine.h"

#include <gtest/gtest.h>

#include <fstream>

#include "fakes.h"

namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder()
    {
        path_ = fs::temp_directory_path() / ("vornik-test-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }
    void Write(const char* name, const std::string& text) const { std::ofstream(path_ / name, std::ios::binary) << text; }

private:
    fs::path path_;
};

TEST(LoadState, MissingFilesAreEmptyTables)
{
    TempFolder folder;
    FakeIfTable table;
    Engine engine(table);
    EXPECT_EQ(LoadState(engine, folder.Path(), 1000, ','), std::nullopt);
    EXPECT_TRUE(engine.StateLoaded);
    EXPECT_EQ(engine.HistoryTable.HistoryCount(), 0);
    EXPECT_EQ(engine.TariffTable.TariffCount(), 0);
}

TEST(LoadState, ReadsBothFiles)
{
    TempFolder folder;
    folder.Write("price.txt", "eth0|LAN>1,5@2\r\n");
    folder.Write("history.txt", "SHOW=eth0\r\nform1.width=900\r\n6.12.2026-0\t5         \t6         \teth0\r\n");
    FakeIfTable table;
    Engine engine(table);
    EXPECT_EQ(LoadState(engine, folder.Path(), 1000, ','), 900);
    EXPECT_EQ(engine.ShowName, "eth0");
    EXPECT_EQ(engine.HistoryTable.HistoryCount(), 1);
    EXPECT_EQ(engine.TariffTable[1].Alias, "LAN");
}

TEST(LoadState, ReadsAHistoryOfManyBlocksWhole)
{
    TempFolder folder;
    std::string text = "SHOW=eth0\r\n";
    for (int i = 0; i < 40000; ++i)
        text += "6.12.2026-" + std::to_string(i) + "\t" + std::to_string(i) + "\t7\tRealtek PCIe GbE Family Controller\r\n";
    text += "form1.width=900";
    ASSERT_GT(text.size(), 2u << 20);
    folder.Write("history.txt", text);
    FakeIfTable table;
    Engine engine(table);
    EXPECT_EQ(LoadState(engine, folder.Path(), 1000, ','), 900);
    EXPECT_EQ(engine.ShowName, "eth0");
    ASSERT_EQ(engine.HistoryTable.HistoryCount(), 40000);
    for (int32_t i = 1; i <= 40000; ++i) {
        ASSERT_EQ(engine.HistoryTable[i].Segment, i - 1);
        ASSERT_EQ(engine.HistoryTable[i].InOctets, static_cast<uint32_t>(i - 1));
        ASSERT_EQ(engine.HistoryTable[i].Name, "Realtek PCIe GbE Family Controller");
    }
}

TEST(LoadState, AFileThatExistsButCannotBeReadStopsTheStart)
{
    TempFolder folder;
    fs::create_directory(folder.Path() / "history.txt");
    FakeIfTable table;
    Engine engine(table);
    EXPECT_THROW(LoadState(engine, folder.Path(), 1000, ','), std::runtime_error);
    EXPECT_FALSE(engine.StateLoaded);
}

struct ExitFixture : ::testing::Test {
    FakeIfTable table;
    Engine engine{table};
    MemoryFileStore store;
    std::vector<std::string> asked;
    bool answer = false;

    bool Exit()
    {
        return ExitSave(engine, "work", 792, ',', store, [&](const std::string& error) {
            asked.push_back(error);
            return answer;
        });
    }
    void Run()
    {
        table.Load();
        engine.StartDate = {2026, 12, 6};
        engine.StateLoaded = true;
        table.rows = {{"eth0", 10, 20}};
        SampleInterfaces(engine, 1000);
        engine.TariffTable.FindOrAdd("eth0");
    }
};

TEST_F(ExitFixture, WritesBothFilesThenReleasesTheLibrary)
{
    Run();
    EXPECT_TRUE(Exit());
    EXPECT_EQ(store.files["history.txt"], "SHOW=\r\nform1.width=792\r\n6.12.2026-0\t10        \t20        \teth0\r\n");
    EXPECT_EQ(store.files["price.txt"], "eth0|eth0>0@0\r\n");
    EXPECT_FALSE(table.Loaded());
    EXPECT_TRUE(asked.empty());
}

TEST_F(ExitFixture, AnIdleStartLeavesTheStoredFilesAlone)
{
    table.Load();
    engine.StateLoaded = false;  // the start stopped before both files were read
    EXPECT_TRUE(Exit());
    EXPECT_EQ(store.saves, 0);
    EXPECT_FALSE(table.Loaded());
}

TEST_F(ExitFixture, AFailedSaveKeepsSamplingUnlessTheUserEndsAnyway)
{
    Run();
    store.failOnSave = 3;  // counters and history written, price refused
    answer = false;
    EXPECT_FALSE(Exit());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("price.txt"), std::string::npos);
    EXPECT_TRUE(table.HasEntry());  // still sampling
    table.rows = {{"eth0", 15, 25}};
    SampleInterfaces(engine, 2000);
    EXPECT_EQ(engine.HistoryTable[1].InOctets, 15u);

    store.failOnSave = 4;
    answer = true;
    EXPECT_TRUE(Exit());
    EXPECT_FALSE(table.Loaded());
}

TEST_F(ExitFixture, ACountersFileThatCannotBeWrittenDoesNotCostTheHistory)
{
    Run();
    store.failOnSave = 1;  // counters.txt refused
    answer = false;
    EXPECT_FALSE(Exit());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("counters.txt"), std::string::npos);
    EXPECT_NE(store.files["history.txt"].find("\t10        \t20        \teth0"), std::string::npos);
    EXPECT_EQ(store.files["price.txt"], "eth0|eth0>0@0\r\n");
    EXPECT_EQ(store.files.count("counters.txt"), 0u);
}

TEST(LoadState, ACountersFileTooLargeToBeOneIsDistrustedAndTheStartGoesOn)
{
    TempFolder folder;
    folder.Write("history.txt", "SHOW=\r\nform1.width=900\r\n6.12.2026-0\t5\t6\teth0\r\n");
    folder.Write("counters.txt", "uptime=1\r\n" + std::string(3 << 20, 'x'));
    FakeIfTable table;
    Engine engine(table);
    EXPECT_EQ(LoadState(engine, folder.Path(), 5000, ','), 900);
    EXPECT_TRUE(engine.StateLoaded);
    EXPECT_EQ(engine.Counters.Start, StartKind::Untrusted);
}

TEST(SampleInterfaces, SkipsTheSampleWithoutAnEntryPointOrATable)
{
    FakeIfTable table;
    Engine engine(table);
    table.rows = {{"eth0", 1, 2}};
    SampleInterfaces(engine, 1000);  // library not loaded
    table.Load();
    table.entryPresent = false;
    SampleInterfaces(engine, 1000);
    table.entryPresent = true;
    table.readFails = true;
    SampleInterfaces(engine, 1000);
    EXPECT_EQ(engine.HistoryTable.HistoryCount(), 0);
    table.readFails = false;
    SampleInterfaces(engine, 1000);
    EXPECT_EQ(engine.HistoryTable.HistoryCount(), 1);
}

}  // namespace
