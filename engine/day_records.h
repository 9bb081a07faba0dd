#pragma once
// The engine's tables: the day records of every connection and the tariff entries.
// Both are 1-based (slot 0 is never used), as the state files and the drawing pass count them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/iftable.h"

// One stretch of one connection on one day, during which its counters only grew.
struct DayRecord {
    uint32_t InOctets = 0;
    uint32_t OutOctets = 0;
    uint16_t Year = 0;
    uint16_t Month = 0;
    uint16_t Day = 0;
    int32_t Segment = 0;   // 0: open, follows the counters; > 0: closed for good
    int32_t BlockTop = 0;  // drawing scratch: top of the connection's block, on its first record
    uint8_t Summed = 0;    // drawing scratch: already added into its connection's figures
    std::string Name;

    Date RecordDate() const { return Date{Year, Month, Day}; }
};

// Records are only ever appended; the array grows in steps of 1000 slots.
class DayRecordArray {
public:
    static constexpr int32_t GrowthStep = 1000;

    int32_t HistoryCount() const { return count_; }
    std::size_t Slots() const { return slots_.size(); }
    DayRecord& operator[](int32_t i) { return slots_[static_cast<std::size_t>(i)]; }
    const DayRecord& operator[](int32_t i) const { return slots_[static_cast<std::size_t>(i)]; }
    // Appends an empty record and returns it; the caller fills it.
    DayRecord& Append();

private:
    std::vector<DayRecord> slots_;
    int32_t count_ = 0;
};

// One connection's tariff and display data.
struct mtp {
    double PriceIn = 0;      // roubles per megabyte of inbound traffic
    double PriceOut = 0;     // roubles per megabyte of outbound traffic
    uint64_t LastTotal = 0;  // today's in + out at the previous redraw, for the speed (never wraps)
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
    // Index of the first entry named exactly so, or 0.
    int Find(const std::string& name) const;
    // As Find; an absent name is added with zero prices and itself as alias.
    // Returns 0 when absent and the table is full.
    int FindOrAdd(const std::string& name);

private:
    std::array<mtp, Capacity + 1> slots_{};
    uint8_t count_ = 0;
};

// Applies one sample of the interface table to the day records of `today`. Rows that
// share a description are one connection: they are merged first, the larger of each counter.
void SampleAndUpdate(DayRecordArray& history, int32_t& segmentCounter, const Date& today,
                     const std::vector<IfRow>& rows);
