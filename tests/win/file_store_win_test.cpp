#include "platform/file_store_win.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace {

// Lets `allowed` bytes through, then fails the write as a full disk does.
class FailingStore : public AtomicFileStore {
public:
    explicit FailingStore(DWORD allowed) : allowed_(allowed) {}

protected:
    bool WriteChunk(HANDLE file, const char* data, DWORD size, DWORD& written) override
    {
        if (allowed_ == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        DWORD n = std::min(size, allowed_);
        allowed_ -= n;
        return AtomicFileStore::WriteChunk(file, data, n, written);
    }

private:
    DWORD allowed_;
};

TEST(AtomicFileStore, ReplacesTheFileWhole)
{
    TempFolder folder;
    folder.Write("history.txt", "old");
    AtomicFileStore store;
    store.Save(folder.Path() / "history.txt", std::string("new\r\ncontent\0with zero", 23));
    EXPECT_EQ(folder.Read("history.txt"), std::string("new\r\ncontent\0with zero", 23));
    store.Save(folder.Path() / "price.txt", "");
    EXPECT_TRUE(folder.Exists("price.txt"));
    EXPECT_EQ(folder.Read("price.txt"), "");
    EXPECT_FALSE(folder.Exists("history.txt.new"));
}

TEST(AtomicFileStore, AWriteThatFailsPartWayLeavesTheOldFileWhole)
{
    TempFolder folder;
    folder.Write("history.txt", "the old history");
    FailingStore store(5);
    try {
        store.Save(folder.Path() / "history.txt", std::string(100000, 'x'));
        FAIL() << "the save reported success";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("history.txt"), std::string::npos);
    }
    EXPECT_EQ(folder.Read("history.txt"), "the old history");
    EXPECT_FALSE(folder.Exists("history.txt.new"));
}

TEST(AtomicFileStore, WritesPiecesInOrderAndAbandonsTheSaveWhenTheirMakerFails)
{
    TempFolder folder;
    folder.Write("history.txt", "the old history");
    const std::string pieces[] = {"one ", std::string(3u << 20, 'x'), "", " three"};
    auto savePieces = [&](int failAt) {
        int given = 0;
        AtomicFileStore().SavePieces(folder.Path() / "history.txt", [&](std::string_view& piece) {
            if (given == failAt)
                throw std::bad_alloc();
            if (given == 4)
                return false;
            piece = pieces[given++];
            return true;
        });
    };
    EXPECT_THROW(savePieces(2), std::bad_alloc);
    EXPECT_EQ(folder.Read("history.txt"), "the old history");
    EXPECT_FALSE(folder.Exists("history.txt.new"));

    savePieces(-1);
    EXPECT_EQ(folder.Read("history.txt"), pieces[0] + pieces[1] + pieces[2] + pieces[3]);
    EXPECT_FALSE(folder.Exists("history.txt.new"));
}

TEST(AtomicFileStore, AMissingFolderIsAnError)
{
    TempFolder folder;
    AtomicFileStore store;
    EXPECT_THROW(store.Save(folder.Path() / "gone" / "history.txt", "x"), std::runtime_error);
}

}  // namespace
