#pragma once
// An interface table replayed from a fixture file, for test builds of the program: every read
// returns the fixture's rows with their counters grown by the fixture's amounts per read.
//
// A fixture line: identity, type, filter flag (0/1), inbound and outbound counters at the
// first read, their growth per read, whether the row is expected to get a block (0/1), and
// the description, separated by TABs. A filter row gives "=identity" as its counters: the
// adapter's own, as Windows shows them. Lines starting with "#" are comments.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/iftable.h"

struct ScriptedRow {
    IfRow Row;
    uint32_t Type = 0;
    uint64_t InPerRead = 0, OutPerRead = 0;
    uint64_t SameAs = 0;  // a filter row's adapter: its counters are that row's
    bool Block = false;
};

// The rows of a fixture's text; a line that does not read is left out.
std::vector<ScriptedRow> ReadFixture(std::string_view text);
// The table at the `read`-th read (0 for the first).
std::vector<IfRow> FixtureTable(const std::vector<ScriptedRow>& rows, uint64_t read);

class ScriptedIfTable : public IfTableSource {
public:
    explicit ScriptedIfTable(std::filesystem::path fixture) : fixture_(std::move(fixture)) {}
    bool Load() override;  // reads the fixture
    bool HasEntry() const override { return loaded_; }
    bool Loaded() const override { return loaded_; }
    void Release() override { loaded_ = false; }
    bool Read(std::vector<IfRow>& rows) override;
    bool Counters64() const override { return true; }

private:
    std::filesystem::path fixture_;
    std::vector<ScriptedRow> rows_;
    uint64_t reads_ = 0;
    bool loaded_ = false;
};
