// Whatever the bytes of "history.txt": no crash, no hang, and what was read writes back and
// reads again to the same table.
#include <cstdint>
#include <cstdlib>

#include "engine/state_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    DayRecordArray first;
    HistorySettings settings = ReadHistoryText(text, first);
    std::string written = WriteHistoryText(first, settings.ShowName, settings.Width.value_or(500));

    DayRecordArray second;
    HistorySettings again = ReadHistoryText(written, second);
    if (again.ShowName != settings.ShowName || again.Width.value_or(500) != settings.Width.value_or(500) ||
        WriteHistoryText(second, again.ShowName, again.Width.value_or(500)) != written)
        std::abort();
    return 0;
}
