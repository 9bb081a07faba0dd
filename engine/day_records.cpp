#include "engine/day_records.h"

#include <algorithm>
#include <ostream>

const ConnectionName::Entry ConnectionName::Empty;

std::ostream& operator<<(std::ostream& out, const ConnectionName& name)
{
    return out << name.str();
}

DayRecord& DayRecordArray::Append(std::string_view name)
{
    auto found = byName_.find(name);
    if (found != byName_.end())
        return AppendTo(names_[static_cast<std::size_t>(found->second)]);
    const ConnectionName::Entry& entry = names_.emplace_back(ConnectionName::Entry{std::string(name), ConnectionCount()});
    byName_.emplace(entry.Text, entry.Connection);
    connections_.push_back(Connection{count_ + 1, {}, {}});
    return AppendTo(entry);
}

DayRecord& DayRecordArray::AppendTo(const ConnectionName::Entry& entry)
{
    ++count_;
    if (static_cast<std::size_t>(count_) >= Slots())
        chunks_.push_back(std::make_unique<DayRecord[]>(GrowthStep));
    DayRecord& record = (*this)[count_];
    record.Name = ConnectionName(&entry);
    return record;
}

void DayRecordArray::IndexFor(const Date& day)
{
    if (!anyIndexed_ || day != indexedDay_) {
        for (Connection& connection : connections_) {
            connection.Settled = TrafficSums();
            connection.Open.clear();
        }
        indexed_ = 0;
        indexedDay_ = day;
        anyIndexed_ = true;
    }
    while (indexed_ < count_) {
        ++indexed_;
        const DayRecord& record = (*this)[indexed_];
        Connection& connection = connections_[ConnectionSlot(record.Name.entry_->Connection)];
        if (record.Segment == 0 && record.RecordDate() == day)
            connection.Open.push_back(indexed_);
        else
            Settle(connection, record);
    }
}

void DayRecordArray::Settle(Connection& connection, const DayRecord& record) const
{
    TrafficSums& sums = connection.Settled;
    sums.AllIn += record.InOctets;
    sums.AllOut += record.OutOctets;
    if (record.RecordDate() == indexedDay_) {
        sums.TodayIn += record.InOctets;
        sums.TodayOut += record.OutOctets;
    }
}

TrafficSums DayRecordArray::Sums(int32_t connection, const Date& today)
{
    IndexFor(today);
    const Connection& c = connections_[ConnectionSlot(connection)];
    TrafficSums sums = c.Settled;
    for (int32_t i : c.Open) {
        const DayRecord& record = (*this)[i];
        sums.AllIn += record.InOctets;
        sums.AllOut += record.OutOctets;
        sums.TodayIn += record.InOctets;
        sums.TodayOut += record.OutOctets;
    }
    return sums;
}

void DayRecordArray::ApplyRow(const IfRow& row, const Date& today, int32_t& segmentCounter)
{
    IndexFor(today);  // takes in what the reader or the rows before this one appended
    bool matched = false;
    auto found = byName_.find(row.Description);
    if (found != byName_.end()) {
        const int32_t number = found->second;
        // The open records of the day in table order. Records appended here are taken in
        // only after this row, so none is visited twice for it.
        std::vector<int32_t>& open = connections_[ConnectionSlot(number)].Open;
        std::size_t kept = 0;
        for (int32_t i : open) {
            DayRecord& record = (*this)[i];
            matched = true;
            if (record.InOctets <= row.InOctets && record.OutOctets <= row.OutOctets) {
                record.InOctets = row.InOctets;
                record.OutOctets = row.OutOctets;
                open[kept++] = i;
                continue;
            }
            // A counter went down: the link restarted or a counter wrapped.
            record.Segment = ++segmentCounter;
            Settle(connections_[ConnectionSlot(number)], record);
            DayRecord& next = AppendTo(names_[ConnectionSlot(number)]);
            next.Year = record.Year;
            next.Month = record.Month;
            next.Day = record.Day;
            next.InOctets = row.InOctets;
            next.OutOctets = row.OutOctets;
        }
        open.resize(kept);
    }
    if (!matched) {
        DayRecord& record = Append(row.Description);
        record.Year = today.Year;
        record.Month = today.Month;
        record.Day = today.Day;
        record.InOctets = row.InOctets;
        record.OutOctets = row.OutOctets;
    }
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

}  // namespace

void SampleAndUpdate(DayRecordArray& history, int32_t& segmentCounter, const Date& today,
                     const std::vector<IfRow>& rows)
{
    for (const IfRow& row : MergeSameDescriptions(rows))
        history.ApplyRow(row, today, segmentCounter);
}
