#pragma once
// Counting: every sample adds, per direction, the growth of each interface row's counters
// since that row's previous sample to the open record of the row's description on the
// sample's day. The previous counters outlive the run in "counters.txt", so a later start
// counts only what is new, on the day it is sampled.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/day_records.h"
#include "platform/clock.h"
#include "platform/iftable.h"

// What a history holds, to tell whether a counters file was written with it.
struct HistoryFingerprint {
    int64_t Records = 0;
    uint64_t InOctets = 0, OutOctets = 0;  // sums over all records
    bool operator==(const HistoryFingerprint& o) const
    {
        return Records == o.Records && InOctets == o.InOctets && OutOctets == o.OutOctets;
    }
};
HistoryFingerprint FingerprintOf(const DayRecordArray& history);

// A row's counters at its previous sample.
struct RowCounters {
    std::string Description;
    uint64_t InOctets = 0, OutOctets = 0;
    bool ThisRun = false;    // sampled in this run (otherwise read from the counters file)
    uint64_t SampledAt = 0;  // the clock's milliseconds at that sample, in this run
};

// How the run's first sample counts a row whose previous counters it does not know.
enum class StartKind {
    Continue,   // the counters file fits the history: a row missing from it counts nothing at first
    Restarted,  // the computer restarted since: every row's counters count from zero
    Untrusted,  // the counters file is damaged or does not fit the history: a row counts nothing at first
    Upgrade,    // no counters file beside a history of an earlier version, written since the
                // computer started: its records hold the counters, modulo 2^32
};

class Counting {
public:
    // Rows are matched by identity; the 64-bit table's LUIDs and the 32-bit table's indexes
    // are never mixed.
    std::map<uint64_t, RowCounters> Rows;
    bool Counters64 = false;
    StartKind Start = StartKind::Continue;
    bool Sampled = false;        // a sample of this run has been counted
    uint64_t LastSampleAt = 0;   // the clock's milliseconds then
    uint64_t Uptime = 0;         // the system's uptime at the last sample or start, for the file
    HistoryFingerprint OnDisk;   // what "history.txt" holds now, as far as this run knows
    bool FilePresent = false;    // a counters file was there at the start
    // After an upgrade: each description's last record as the earlier version left it.
    std::map<std::string, DayRecord> UpgradeBase;
    bool SaveDue = false;        // the state should be saved now (after an upgrade's first sample)

    // One sample into the day records of `day`; `now` is the system's uptime in milliseconds.
    // Rows for which `isConnection` is false count nothing; their counters are only noted.
    void Sample(DayRecordArray& history, int32_t& segmentCounter, const Date& day, uint64_t now,
                bool counters64, const std::vector<IfRow>& rows,
                const std::function<bool(const IfRow&)>& isConnection = nullptr);

    // A sample that could not be read: no speed to show.
    void Missed() { growth_.clear(); }

    // The speed of a connection in the last sample, in kilobits per second (octets / 128 per
    // second); 0 in the run's first sample and for a connection not sampled.
    double Speed(const std::string& connection) const;

private:
    struct Counted {
        uint64_t In = 0, Out = 0;
        bool Restart = false;  // the counters started again: the stretch ends first
        bool Speed = true;     // counts towards the speed
    };
    Counted Count(const IfRow& row, uint64_t now, bool counters64, bool fresh) const;

    std::vector<bool> Mirrors(const std::vector<IfRow>& rows) const;
    void TakeOverVanishedRows(const std::vector<IfRow>& rows);

    std::unordered_map<std::string, uint64_t> growth_;
    std::set<std::string> sampledNames_;  // descriptions counted in this run  // octets per connection in the last sample
    double seconds_ = 1;
};

// Whether a row of the table is a connection of its own. A filter row carries its adapter's
// traffic a second time and is none, unless the user priced it or it is the one connection
// shown (an earlier version counted such rows: a priced one must not stop counting).
bool IsConnection(const IfRow& row, const TariffArray& tariffs, const std::string& showName);

// "counters.txt": the uptime, the fingerprints of the history it was written with and of the
// one on disk before, and per row its identity, last counters and description.
std::string WriteCountersText(const Counting& counting, const HistoryFingerprint& history);
// Reads the file into `counting` and decides how the first sample counts. `text` is empty
// and `present` false when there is no file; `historyAfterBoot` tells whether "history.txt"
// was written since the computer started. Never fails: a damaged file is distrusted.
void ReadCountersText(std::string_view text, bool present, const DayRecordArray& history, uint64_t uptime,
                      bool historyAfterBoot, Counting& counting);
