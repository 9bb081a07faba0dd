// Whatever the bytes of "price.txt": no crash, no hang, at most 254 entries, and what was read
// writes back and reads again to the same table under each decimal separator.
#include <cstdint>
#include <cstdlib>

#include "engine/state_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    TariffArray first;
    ReadTariffText(text, first, ',');
    if (first.TariffCount() > TariffArray::Capacity)
        std::abort();
    for (char separator : {',', '.', ';'}) {
        std::string written = WriteTariffText(first, separator);
        TariffArray second;
        ReadTariffText(written, second, separator);
        if (second.TariffCount() != first.TariffCount() || WriteTariffText(second, separator) != written)
            std::abort();
    }
    return 0;
}
