// Whatever a hand-edited "vrn15.ini" holds for the five informer settings: no crash, and the
// settings read write back and read again to the same settings.
#include <cstdint>
#include <cstdlib>

#include "informer/informer_settings.h"
#include "tests/informer/fake_profile_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (ParseIniInteger(bytes)) {
        int32_t value = *ParseIniInteger(bytes);
        if (ParseIniInteger(std::to_string(value)) != value)
            std::abort();
    }

    // The values of "TNAME", "TTRAF", "TSUM", "TSPD", "TPRZ", one a line.
    FakeProfileStore store;
    const char* keys[] = {"TNAME", "TTRAF", "TSUM", "TSPD", "TPRZ"};
    std::size_t start = 0;
    for (const char* key : keys) {
        std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        if (start <= bytes.size())
            store.Set("SIZEPOL", key, std::string(bytes.substr(start, end - start)));
        start = end + 1;
    }
    InformerSettings first = ReadInformerSettings(store, "vrn15.ini");
    WriteInformerSettings(store, "vrn15.ini", first);
    InformerSettings second = ReadInformerSettings(store, "vrn15.ini");
    if (second.Widths != first.Widths || second.Opacity != first.Opacity)
        std::abort();
    return 0;
}
