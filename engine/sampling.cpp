#include "engine/sampling.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "engine/state_files.h"

namespace {

constexpr uint64_t Wrap32 = uint64_t(1) << 32;
// A 32-bit counter that went down is taken for a wrap only between two samples this close.
constexpr uint64_t WrapWindowMs = 60 * 1000;
// Interval the speed bound allows beyond the measured one: counters are read a moment apart
// from the clock.
constexpr uint64_t WrapSlackMs = 1000;
// Rows kept in the counters file: those of this run first, then older ones still unseen.
constexpr std::size_t KeptRows = 1024;
// More than a sample can hold in a direction (16 TiB): a glitch, skipped with its row's counters.
constexpr uint64_t MaxSampleOctets = uint64_t(1) << 44;

bool ParseUnsigned(std::string_view text, uint64_t& value)
{
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && res.ec == std::errc() && res.ptr == text.data() + text.size();
}

bool ParseFingerprint(std::string_view text, HistoryFingerprint& fp)
{
    std::size_t a = text.find(' '), b = a == std::string_view::npos ? a : text.find(' ', a + 1);
    uint64_t records = 0;
    if (b == std::string_view::npos || !ParseUnsigned(text.substr(0, a), records) ||
        !ParseUnsigned(text.substr(a + 1, b - a - 1), fp.InOctets) || !ParseUnsigned(text.substr(b + 1), fp.OutOctets))
        return false;
    fp.Records = static_cast<int64_t>(records);
    return true;
}

std::string FingerprintText(const HistoryFingerprint& fp)
{
    return std::to_string(fp.Records) + ' ' + std::to_string(fp.InOctets) + ' ' + std::to_string(fp.OutOctets);
}

}  // namespace

bool IsConnection(const IfRow& row, const TariffArray& tariffs, const std::string& showName)
{
    if (!row.FilterInterface || row.Description == showName)
        return true;
    const int entry = tariffs.Find(row.Description);
    return entry && (tariffs[entry].PriceIn > 0 || tariffs[entry].PriceOut > 0);
}

HistoryFingerprint FingerprintOf(const DayRecordArray& history)
{
    HistoryFingerprint fp;
    fp.Records = history.HistoryCount();
    for (int32_t i = 1; i <= history.HistoryCount(); ++i) {
        fp.InOctets += history[i].InOctets;
        fp.OutOctets += history[i].OutOctets;
    }
    return fp;
}

Counting::Counted Counting::Count(const IfRow& row, uint64_t now, bool counters64, bool fresh) const
{
    auto known = Rows.find(row.Identity);
    if (known != Rows.end()) {
        const RowCounters& prev = known->second;
        const bool inDown = row.InOctets < prev.InOctets, outDown = row.OutOctets < prev.OutOctets;
        if (!inDown && !outDown)
            return {row.InOctets - prev.InOctets, row.OutOctets - prev.OutOctets};
        // One 32-bit counter down while the other is not: a wrap, if it came soon enough and no
        // faster than the link can carry. Anything else means the counters started again.
        if (!counters64 && inDown != outDown && prev.ThisRun && now - prev.SampledAt <= WrapWindowMs) {
            const uint64_t in = inDown ? row.InOctets + Wrap32 - prev.InOctets : row.InOctets - prev.InOctets;
            const uint64_t out = outDown ? row.OutOctets + Wrap32 - prev.OutOctets : row.OutOctets - prev.OutOctets;
            const uint64_t speed = inDown ? row.InSpeed : row.OutSpeed;  // bits per second
            const double allowed = static_cast<double>(speed) / 8 * static_cast<double>(now - prev.SampledAt + WrapSlackMs) / 1000;
            if (speed == 0 || static_cast<double>(inDown ? in : out) <= allowed)
                return {in, out};
        }
        return {row.InOctets, row.OutOctets, true};
    }
    // A row this run did not know. Made again or plugged in again while the program watched
    // its description: its counters are its traffic.
    if (Sampled && sampledNames_.count(row.Description))
        return {row.InOctets, row.OutOctets, true};
    // A description never seen starts from the counters' current values: whatever the
    // interface counted since its counters last started; but not at the start, when a counters
    // file should have known the row (it may be one renamed while the program was away).
    const bool fileShouldKnow = FilePresent && !Sampled && Start != StartKind::Restarted;
    if (fresh && !fileShouldKnow)
        return {row.InOctets, row.OutOctets, false, false};
    switch (fresh ? StartKind::Untrusted : Start) {
    case StartKind::Restarted:
        return {row.InOctets, row.OutOctets, true, false};
    case StartKind::Upgrade: {
        // The earlier version's records hold the counters' low 32 bits: the description's last
        // record as it was read, before any sample of this run changed it.
        auto base = UpgradeBase.find(row.Description);
        if (base == UpgradeBase.end())
            break;
        const DayRecord& last = base->second;
        auto growth = [&](uint64_t value, uint32_t held, uint64_t& grown) {
            const uint32_t low = static_cast<uint32_t>(value);
            if (low < held && !(counters64 && value >= Wrap32))
                return false;  // a counter below 2^32 went down: it started again
            grown = static_cast<uint32_t>(low - held);
            return true;
        };
        Counted c;
        c.Speed = false;
        if (growth(row.InOctets, last.InOctets, c.In) && growth(row.OutOctets, last.OutOctets, c.Out))
            return c;
        return {row.InOctets, row.OutOctets, true, false};
    }
    case StartKind::Continue:
    case StartKind::Untrusted:
        break;
    }
    // Counters not known where a counters file should have known them: counting them could
    // count traffic twice, so this sample only notes them.
    return {0, 0, false, false};
}

void Counting::Sample(DayRecordArray& history, int32_t& segmentCounter, const Date& day, uint64_t now,
                      bool counters64, const std::vector<IfRow>& table,
                      const std::function<bool(const IfRow&)>& isConnection)
{
    const bool first = !Sampled;
    if (first && counters64 != Counters64 && !Rows.empty()) {
        // Identities of the other kind of table (Windows changed what it offers) match nothing.
        Rows.clear();
        if (Start == StartKind::Continue)
            Start = StartKind::Untrusted;
    }
    Counters64 = counters64;
    const double interval = first ? 1 : static_cast<double>(now - LastSampleAt) / 1000;
    seconds_ = interval <= 1.5 ? 1 : interval;
    growth_.clear();

    // Rows that are no connections: their counters are kept, so that one that becomes a
    // connection later counts from here and not its whole counters again.
    std::vector<IfRow> rows;
    rows.reserve(table.size());
    for (const IfRow& row : table) {
        if (!isConnection || isConnection(row))
            rows.push_back(row);
        else
            Rows[row.Identity] = RowCounters{row.Description, row.InOctets, row.OutOctets, true, now};
    }

    std::set<std::string_view> fresh;      // descriptions first seen in this sample
    std::set<std::string_view> restarted;  // descriptions whose stretch ended in this sample
    if (!first)
        TakeOverVanishedRows(rows);
    const std::vector<bool> mirrors = Mirrors(rows);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const IfRow& row = rows[k];
        const std::string& name = row.Description;
        if (mirrors[k]) {
            Rows[row.Identity] = RowCounters{name, row.InOctets, row.OutOctets, true, now};
            continue;
        }
        const bool isFresh = fresh.count(name) || !history.HasRecords(name);
        const Counted c = Count(row, now, counters64, isFresh);
        if (c.In > MaxSampleOctets || c.Out > MaxSampleOctets)
            continue;  // no link carries that in a sample: a driver's glitch, counted never
        sampledNames_.insert(name);
        if (isFresh)
            fresh.insert(name);
        if (c.Restart && !isFresh && restarted.insert(name).second)
            history.CloseOpen(name, day, segmentCounter);
        // A description's first record waits until its counters are above 0: an idle WAN
        // Miniport or tunnel never becomes a connection.
        if (row.InOctets || row.OutOctets || history.HasRecords(name))
            history.AddTraffic(name, day, c.In, c.Out, segmentCounter);
        if (c.Speed && !first)
            growth_[name] += c.In + c.Out;
        Rows[row.Identity] = RowCounters{name, row.InOctets, row.OutOctets, true, now};
    }
    if (first && Start == StartKind::Upgrade)
        SaveDue = true;
    Sampled = true;
    LastSampleAt = now;
    Uptime = now;
}

std::vector<bool> Counting::Mirrors(const std::vector<IfRow>& rows) const
{
    // Rows of one description with the very same counters are one interface listed twice
    // (Wine lists an interface made again under its old and its new index, both with the new
    // counters): one of them counts, a known one rather than a new one.
    std::vector<bool> mirror(rows.size(), false);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (mirror[k])
            continue;
        std::vector<std::size_t> same{k};
        for (std::size_t j = k + 1; j < rows.size(); ++j)
            if (!mirror[j] && rows[j].Description == rows[k].Description && rows[j].InOctets == rows[k].InOctets &&
                rows[j].OutOctets == rows[k].OutOctets)
                same.push_back(j);
        std::size_t counted = same.front();
        for (std::size_t j : same)
            if (Rows.count(rows[j].Identity)) {
                counted = j;
                break;
            }
        for (std::size_t j : same)
            mirror[j] = j != counted;
    }
    return mirror;
}

void Counting::TakeOverVanishedRows(const std::vector<IfRow>& rows)
{
    std::set<uint64_t> present;
    for (const IfRow& row : rows)
        present.insert(row.Identity);
    for (const IfRow& row : rows) {
        if (Rows.count(row.Identity))
            continue;
        // A row of the same description in the previous sample, gone now, whose counters this
        // one carries on: the same interface under another identity (Wine renumbers an
        // interface made again a moment after it shows it).
        for (auto it = Rows.begin(); it != Rows.end(); ++it) {
            const RowCounters& old = it->second;
            if (old.ThisRun && old.SampledAt == LastSampleAt && old.Description == row.Description &&
                !present.count(it->first) && old.InOctets <= row.InOctets && old.OutOctets <= row.OutOctets) {
                Rows[row.Identity] = old;
                Rows.erase(it);
                break;
            }
        }
    }
}

double Counting::Speed(const std::string& connection) const
{
    auto found = growth_.find(connection);
    return found == growth_.end() ? 0 : static_cast<double>(found->second) / seconds_ / 128;
}

std::string WriteCountersText(const Counting& counting, const HistoryFingerprint& history)
{
    std::string text = "uptime=" + std::to_string(counting.Uptime) + "\r\ncounters=" +
                       (counting.Counters64 ? "64" : "32") + "\r\nhistory=" + FingerprintText(history) +
                       "\r\nbefore=" + FingerprintText(counting.OnDisk) + "\r\n";
    std::size_t written = 0;
    for (bool thisRun : {true, false})
        for (const auto& [identity, row] : counting.Rows)
            if (row.ThisRun == thisRun && written++ < KeptRows)
                text += std::to_string(identity) + '\t' + std::to_string(row.InOctets) + '\t' +
                        std::to_string(row.OutOctets) + '\t' + row.Description + "\r\n";
    return text;
}

void ReadCountersText(std::string_view text, bool present, const DayRecordArray& history, uint64_t uptime,
                      bool historyAfterBoot, Counting& counting)
{
    counting.Rows.clear();
    counting.UpgradeBase.clear();
    counting.Sampled = false;
    counting.Uptime = uptime;
    counting.OnDisk = FingerprintOf(history);
    counting.FilePresent = present;
    const bool anyRecords = history.HistoryCount() > 0;
    if (!present) {
        counting.Start = !anyRecords ? StartKind::Continue : historyAfterBoot ? StartKind::Upgrade : StartKind::Restarted;
        if (counting.Start == StartKind::Upgrade)
            for (int32_t c = 0; c < history.ConnectionCount(); ++c)
                counting.UpgradeBase[history.ConnectionNameOf(c)] = *history.LastRecordOf(history.ConnectionNameOf(c));
        return;
    }

    bool haveUptime = false, haveKind = false, haveHistory = false, haveBefore = false;
    uint64_t savedUptime = 0;
    HistoryFingerprint written, before;
    std::map<uint64_t, RowCounters> rows;
    std::string_view line;
    while (NextLine(text, line)) {
        std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            std::size_t eq = line.find('=');
            std::string_view key = line.substr(0, eq), value = eq == line.npos ? "" : line.substr(eq + 1);
            if (key == "uptime")
                haveUptime = ParseUnsigned(value, savedUptime);
            else if (key == "counters")
                haveKind = value == "64" || value == "32", counting.Counters64 = value == "64";
            else if (key == "history")
                haveHistory = ParseFingerprint(value, written);
            else if (key == "before")
                haveBefore = ParseFingerprint(value, before);
            continue;
        }
        // identity TAB in TAB out TAB description; a damaged line is a row the file lacks.
        std::size_t tab2 = line.find('\t', tab + 1), tab3 = tab2 == line.npos ? tab2 : line.find('\t', tab2 + 1);
        uint64_t identity = 0;
        RowCounters row;
        if (tab3 == std::string_view::npos || !ParseUnsigned(line.substr(0, tab), identity) ||
            !ParseUnsigned(line.substr(tab + 1, tab2 - tab - 1), row.InOctets) ||
            !ParseUnsigned(line.substr(tab2 + 1, tab3 - tab2 - 1), row.OutOctets))
            continue;
        row.Description = std::string(line.substr(tab3 + 1));
        rows[identity] = row;
    }

    if (!haveUptime || !haveKind || !haveHistory || !haveBefore) {
        counting.Start = StartKind::Untrusted;
    } else if (savedUptime > uptime) {
        counting.Start = StartKind::Restarted;  // the uptime began again: the computer restarted
    } else if (anyRecords && !(written == counting.OnDisk) && !(before == counting.OnDisk)) {
        // Neither the history it was written with nor the one on disk then (a save cut short
        // between the two files): the history was replaced, or an earlier version went on with it.
        counting.Start = StartKind::Untrusted;
    } else {
        counting.Start = StartKind::Continue;
        counting.Rows = std::move(rows);
    }
}
