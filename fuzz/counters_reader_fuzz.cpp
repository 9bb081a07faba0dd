// Whatever the bytes of "counters.txt": no crash, no hang; what was read and trusted writes
// back and reads again to the same rows; and a sample after it never holds more records than
// the split at the file's limit can make of the table's counters.
#include <cstdint>
#include <cstdlib>

#include "engine/sampling.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    DayRecordArray history;
    Counting first;
    ReadCountersText(text, true, history, 1'000'000, true, first);
    Counting second;
    const std::string written = WriteCountersText(first, FingerprintOf(history));
    ReadCountersText(written, true, history, 1'000'000, true, second);
    if (first.Start == StartKind::Continue &&
        (second.Start != StartKind::Continue || WriteCountersText(second, FingerprintOf(history)) != written))
        std::abort();

    int32_t segments = 0;
    std::vector<IfRow> rows;
    for (const auto& [identity, row] : first.Rows)
        if (rows.size() < 8)
            rows.push_back(IfRow{row.Description, row.InOctets ^ 0x5555, row.OutOctets + 7, identity});
    first.Sample(history, segments, Date{2026, 12, 10}, 1'001'000, first.Counters64, rows);
    if (history.HistoryCount() > static_cast<int32_t>(rows.size()) * 4098)
        std::abort();
    return 0;
}
