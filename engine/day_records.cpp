#include "engine/day_records.h"

#include <algorithm>

DayRecord& DayRecordArray::Append()
{
    ++count_;
    if (static_cast<std::size_t>(count_) >= slots_.size())
        slots_.resize(slots_.size() + GrowthStep);
    return slots_[static_cast<std::size_t>(count_)];
}

void TariffArray::Clear()
{
    for (int i = 1; i <= count_; ++i)
        slots_[static_cast<std::size_t>(i)] = mtp{};
    count_ = 0;
}

int TariffArray::Add(const std::string& name, const std::string& alias)
{
    if (Full())
        return 0;
    ++count_;
    mtp& entry = slots_[count_];
    entry = mtp{};
    entry.Name = name;
    entry.Alias = alias;
    return count_;
}

int TariffArray::Find(const std::string& name) const
{
    for (int i = 1; i <= count_; ++i)
        if (slots_[static_cast<std::size_t>(i)].Name == name)
            return i;
    return 0;
}

int TariffArray::FindOrAdd(const std::string& name)
{
    int i = Find(name);
    return i ? i : Add(name, name);
}

namespace {

std::vector<IfRow> MergeSameDescriptions(const std::vector<IfRow>& rows)
{
    std::vector<IfRow> merged;
    merged.reserve(rows.size());
    for (const IfRow& row : rows) {
        auto same = std::find_if(merged.begin(), merged.end(),
                                 [&](const IfRow& m) { return m.Description == row.Description; });
        if (same == merged.end()) {
            merged.push_back(row);
        } else {
            same->InOctets = std::max(same->InOctets, row.InOctets);
            same->OutOctets = std::max(same->OutOctets, row.OutOctets);
        }
    }
    return merged;
}

void ApplyRow(DayRecordArray& history, int32_t& segmentCounter, const Date& today, const IfRow& row)
{
    bool matched = false;
    // Records appended while scanning for this row are not visited again.
    const int32_t n = history.HistoryCount();
    for (int32_t i = 1; i <= n; ++i) {
        DayRecord& record = history[i];
        if (record.Segment != 0 || record.RecordDate() != today || record.Name != row.Description)
            continue;
        if (record.InOctets <= row.InOctets && record.OutOctets <= row.OutOctets) {
            record.InOctets = row.InOctets;
            record.OutOctets = row.OutOctets;
        } else {
            // A counter went down: the link restarted or a counter wrapped.
            record.Segment = ++segmentCounter;
            DayRecord next = record;
            next.Segment = 0;
            next.BlockTop = 0;
            next.Summed = 0;
            next.InOctets = row.InOctets;
            next.OutOctets = row.OutOctets;
            history.Append() = std::move(next);
        }
        matched = true;
    }
    if (!matched) {
        DayRecord& record = history.Append();
        record.Name = row.Description;
        record.Year = today.Year;
        record.Month = today.Month;
        record.Day = today.Day;
        record.InOctets = row.InOctets;
        record.OutOctets = row.OutOctets;
    }
}

}  // namespace

void SampleAndUpdate(DayRecordArray& history, int32_t& segmentCounter, const Date& today,
                     const std::vector<IfRow>& rows)
{
    for (const IfRow& row : MergeSameDescriptions(rows))
        ApplyRow(history, segmentCounter, today, row);
}
