#include "engine/day_records.h"

#include "engine/state_files.h"

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
    connections_.push_back(Connection{count_ + 1, count_ + 1, {}, {}});
    return AppendTo(entry);
}

DayRecord& DayRecordArray::AppendTo(const ConnectionName::Entry& entry)
{
    ++count_;
    if (static_cast<std::size_t>(count_) >= Slots())
        chunks_.push_back(std::make_unique<DayRecord[]>(GrowthStep));
    DayRecord& record = (*this)[count_];
    record.Name = ConnectionName(&entry);
    connections_[ConnectionSlot(entry.Connection)].LastRecord = count_;
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

const DayRecord* DayRecordArray::LastRecordOf(std::string_view name) const
{
    auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &(*this)[connections_[ConnectionSlot(found->second)].LastRecord];
}

std::vector<int32_t>& DayRecordArray::OpenRecords(std::string_view name, const Date& day)
{
    IndexFor(day);  // takes in what the reader or earlier rows appended
    auto found = byName_.find(name);
    if (found == byName_.end()) {
        DayRecord& record = Append(name);
        record.Year = day.Year, record.Month = day.Month, record.Day = day.Day;
        IndexFor(day);
        found = byName_.find(name);
    }
    return connections_[ConnectionSlot(found->second)].Open;
}

void DayRecordArray::Close(Connection& connection, DayRecord& record, int32_t& segmentCounter)
{
    record.Segment = ++segmentCounter;
    Settle(connection, record);
}

void DayRecordArray::CloseOpen(std::string_view name, const Date& day, int32_t& segmentCounter)
{
    if (!HasRecords(name))
        return;
    std::vector<int32_t>& open = OpenRecords(name, day);
    for (int32_t i : open)
        Close(ConnectionOf((*this)[i]), (*this)[i], segmentCounter);
    open.clear();
}

void DayRecordArray::AddTraffic(std::string_view name, const Date& day, uint64_t in, uint64_t out,
                                int32_t& segmentCounter)
{
    constexpr uint64_t Full = 4294967295u;
    std::vector<int32_t>& open = OpenRecords(name, day);
    const int32_t number = byName_.find(name)->second;
    for (;;) {
        if (open.empty()) {
            DayRecord& record = AppendTo(names_[ConnectionSlot(number)]);
            record.Year = day.Year, record.Month = day.Month, record.Day = day.Day;
            IndexFor(day);
        }
        // A hand-edited file may hold several open records of one day: the last one counts on.
        DayRecord& record = (*this)[open.back()];
        const uint64_t roomIn = Full - record.InOctets, roomOut = Full - record.OutOctets;
        if (in <= roomIn && out <= roomOut) {
            record.InOctets = static_cast<uint32_t>(record.InOctets + in);
            record.OutOctets = static_cast<uint32_t>(record.OutOctets + out);
            return;
        }
        const uint64_t takeIn = std::min(in, roomIn), takeOut = std::min(out, roomOut);
        record.InOctets = static_cast<uint32_t>(record.InOctets + takeIn);
        record.OutOctets = static_cast<uint32_t>(record.OutOctets + takeOut);
        in -= takeIn;
        out -= takeOut;
        Close(connections_[ConnectionSlot(number)], record, segmentCounter);
        open.pop_back();
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
    const std::string trimmed = TrimBlanks(name);
    for (int i = 1; i <= count_; ++i)
        if (TrimBlanks(slots_[static_cast<std::size_t>(i)].Name) == trimmed)
            return i;
    return 0;
}

int TariffArray::FindOrAdd(const std::string& name)
{
    int i = Find(name);
    return i ? i : Add(name, name);
}
