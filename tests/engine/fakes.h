#pragma once
// Test doubles for the platform interfaces the core uses.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_store.h"
#include "platform/iftable.h"

class FakeIfTable : public IfTableSource {
public:
    bool libraryPresent = true;
    bool entryPresent = true;
    bool readFails = false;
    std::vector<IfRow> rows;
    int loads = 0, releases = 0;

    bool Load() override
    {
        ++loads;
        loaded_ = libraryPresent;
        return loaded_;
    }
    bool HasEntry() const override { return loaded_ && entryPresent; }
    bool Loaded() const override { return loaded_; }
    void Release() override
    {
        ++releases;
        loaded_ = false;
    }
    bool Read(std::vector<IfRow>& out) override
    {
        if (!HasEntry() || readFails)
            return false;
        out = rows;
        return true;
    }
    bool Counters64() const override { return false; }

private:
    bool loaded_ = false;
};

// Keeps saved files in memory; can refuse the n-th save.
class MemoryFileStore : public FileStore {
public:
    std::map<std::string, std::string> files;
    int failOnSave = 0;  // 1-based number of the save that fails; 0: none
    int saves = 0;

    void SavePieces(const std::filesystem::path& file, const FilePieces& next) override
    {
        if (++saves == failOnSave)
            throw std::runtime_error("disk full: " + file.filename().string());
        std::string bytes;
        std::string_view piece;
        while (next(piece))
            bytes += piece;
        files[file.filename().string()] = bytes;
    }
};
