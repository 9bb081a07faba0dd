#pragma once
// The engine's tables: the day records of every connection and the tariff entries.
// Both are 1-based (slot 0 is never used), as the state files and the drawing pass count them.
#include <array>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/clock.h"

// A connection name as a record holds it: a handle to the one copy of the name that the
// table keeps, so a record stays small however long the interface's description is.
// Reads as the name itself; compares by content (and at once when both share the copy).
class ConnectionName {
public:
    struct Entry {
        std::string Text;
        int32_t Connection = -1;  // the connection's number in its table; -1: in none
    };

    ConnectionName() : entry_(&Empty) {}
    const std::string& str() const { return entry_->Text; }
    operator const std::string&() const { return entry_->Text; }

    friend bool operator==(const ConnectionName& a, const ConnectionName& b)
    {
        return a.entry_ == b.entry_ || a.entry_->Text == b.entry_->Text;
    }
    friend bool operator!=(const ConnectionName& a, const ConnectionName& b) { return !(a == b); }
    friend bool operator==(const ConnectionName& a, std::string_view b) { return a.entry_->Text == b; }
    friend bool operator!=(const ConnectionName& a, std::string_view b) { return a.entry_->Text != b; }
    friend bool operator==(std::string_view a, const ConnectionName& b) { return a == b.entry_->Text; }
    friend bool operator!=(std::string_view a, const ConnectionName& b) { return a != b.entry_->Text; }

private:
    friend class DayRecordArray;
    explicit ConnectionName(const Entry* entry) : entry_(entry) {}
    static const Entry Empty;
    const Entry* entry_;
};

std::ostream& operator<<(std::ostream& out, const ConnectionName& name);

// One stretch of one connection on one day: the octets counted in it. A stretch ends when the
// interface's counters restart or the record is full.
struct DayRecord {
    uint32_t InOctets = 0;   // inbound octets counted in the stretch
    uint32_t OutOctets = 0;
    uint16_t Year = 0;
    uint16_t Month = 0;
    uint16_t Day = 0;
    int32_t Segment = 0;   // 0: open, follows the counters; > 0: closed for good
    int32_t BlockTop = 0;  // top of the connection's block in the last drawing pass, on its first record
    ConnectionName Name;   // set by the table's Append

    Date RecordDate() const { return Date{Year, Month, Day}; }
};
static_assert(sizeof(DayRecord) <= 32, "a record of a ten-year history must stay small");

// In and out octets of one connection: over all its records, and over those of one day.
// 64-bit: a day's or a history's sum passes 4 GiB.
struct TrafficSums {
    uint64_t TodayIn = 0, TodayOut = 0, AllIn = 0, AllOut = 0;
};

// Records are only ever appended; the table grows in steps of 1000 slots, each step a chunk
// of its own, so records never move. Each connection name is stored once.
//
// The table also keeps, per connection, what sampling and the drawing pass need without
// scanning: its open records of the sampled day, and the sums of its records that can no
// longer change (closed ones and those of other days). Records appended by anyone are taken
// in at the next sample or pass, so a record is filled right after its Append; from then on
// only the counters of an open record of the sampled day may change (sampling closes
// records itself).
class DayRecordArray {
public:
    static constexpr int32_t GrowthStep = 1000;

    DayRecordArray() = default;
    DayRecordArray(const DayRecordArray&) = delete;  // records point at the table's names
    DayRecordArray& operator=(const DayRecordArray&) = delete;

    int32_t HistoryCount() const { return count_; }
    std::size_t Slots() const { return chunks_.size() * GrowthStep; }
    DayRecord& operator[](int32_t i) { return chunks_[Chunk(i)][Offset(i)]; }
    const DayRecord& operator[](int32_t i) const { return chunks_[Chunk(i)][Offset(i)]; }
    // Appends a record of the connection `name`, otherwise empty; the caller fills it.
    DayRecord& Append(std::string_view name);

    // Connections, numbered 0.. in the order of their first records.
    int32_t ConnectionCount() const { return static_cast<int32_t>(connections_.size()); }
    int32_t FirstRecord(int32_t connection) const { return connections_[ConnectionSlot(connection)].FirstRecord; }
    const std::string& ConnectionNameOf(int32_t connection) const { return (*this)[FirstRecord(connection)].Name; }
    // The connection's sums over all its records and over those dated `today`.
    TrafficSums Sums(int32_t connection, const Date& today);

    bool HasRecords(std::string_view name) const { return byName_.count(name) != 0; }
    // The connection's last record in table order, or nullptr.
    const DayRecord* LastRecordOf(std::string_view name) const;
    // Adds a stretch's traffic to the open record of `name` on `day`, opening one when there
    // is none (also for no traffic). The file keeps 32-bit counters: a record that would pass
    // 4294967295 in a direction is filled to it and closed, and the rest goes on in new open
    // records of the same day.
    void AddTraffic(std::string_view name, const Date& day, uint64_t in, uint64_t out, int32_t& segmentCounter);
    // Closes every open record of `name` on `day` (the counters restarted).
    void CloseOpen(std::string_view name, const Date& day, int32_t& segmentCounter);

private:
    struct Connection {
        int32_t FirstRecord = 0;
        int32_t LastRecord = 0;
        TrafficSums Settled;       // records that can no longer change
        std::vector<int32_t> Open;  // open records of the indexed day, in table order
    };

    static std::size_t Chunk(int32_t i) { return static_cast<std::size_t>(i) / GrowthStep; }
    static std::size_t Offset(int32_t i) { return static_cast<std::size_t>(i) % GrowthStep; }
    static std::size_t ConnectionSlot(int32_t connection) { return static_cast<std::size_t>(connection); }
    DayRecord& AppendTo(const ConnectionName::Entry& entry);
    Connection& ConnectionOf(const DayRecord& record) { return connections_[ConnectionSlot(record.Name.entry_->Connection)]; }
    // The connection's open records of `day`, after taking in what was appended.
    std::vector<int32_t>& OpenRecords(std::string_view name, const Date& day);
    void Close(Connection& connection, DayRecord& record, int32_t& segmentCounter);
    // Takes in the records appended since the last call, all records when the day changed.
    void IndexFor(const Date& day);
    void Settle(Connection& connection, const DayRecord& record) const;

    std::vector<std::unique_ptr<DayRecord[]>> chunks_;
    int32_t count_ = 0;
    std::deque<ConnectionName::Entry> names_;  // a deque: records point at its elements
    std::unordered_map<std::string_view, int32_t> byName_;
    std::vector<Connection> connections_;
    int32_t indexed_ = 0;  // records 1..indexed_ are in the connections' figures
    Date indexedDay_;
    bool anyIndexed_ = false;
};

// One connection's tariff and display data.
struct mtp {
    double PriceIn = 0;      // roubles per megabyte of inbound traffic
    double PriceOut = 0;     // roubles per megabyte of outbound traffic
    std::string Name;
    std::string Alias;
};

class TariffArray {
public:
    static constexpr int Capacity = 254;

    uint8_t TariffCount() const { return count_; }
    bool Full() const { return count_ >= Capacity; }
    mtp& operator[](int i) { return slots_[static_cast<std::size_t>(i)]; }
    const mtp& operator[](int i) const { return slots_[static_cast<std::size_t>(i)]; }
    void Clear();
    // Appends an entry; returns its index, or 0 when the table is full.
    int Add(const std::string& name, const std::string& alias);
    // Index of the first entry named exactly so; failing that, of the first whose name is
    // the same with blanks trimmed at both ends (a hand-edited "name | alias"); or 0.
    int Find(const std::string& name) const;
    // As Find; an absent name is added with zero prices and itself as alias.
    // Returns 0 when absent and the table is full.
    int FindOrAdd(const std::string& name);

private:
    std::array<mtp, Capacity + 1> slots_{};
    uint8_t count_ = 0;
};
