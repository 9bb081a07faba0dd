#include "informer/informer_settings.h"

#include <algorithm>
#include <string>

const char* const SettingsFileName = "vrn15.ini";

namespace {
const char* const Section = "SIZEPOL";
const char* const WidthKeys[4] = {"TNAME", "TTRAF", "TSUM", "TSPD"};
const char* const OpacityKey = "TPRZ";

std::optional<uint64_t> ParseDigits(std::string_view digits, unsigned base, uint64_t limit)
{
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}
}  // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::optional<uint64_t> value = ParseDigits(text.substr(2), 16, 0xFFFFFFFFu);
        if (!value)
            return std::nullopt;
        return static_cast<int32_t>(static_cast<uint32_t>(*value));
    }
    bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    std::optional<uint64_t> value = ParseDigits(text, 10, negative ? 2147483648u : 2147483647u);
    if (!value)
        return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(*value) : static_cast<int64_t>(*value));
}

InformerSettings ReadInformerSettings(ProfileStore& store, const std::filesystem::path& file)
{
    InformerSettings settings;
    for (std::size_t i = 0; i < 4; ++i)
        if (std::optional<int32_t> width = ParseIniInteger(store.Read(file, Section, WidthKeys[i])))
            settings.Widths[i] = std::max(*width, 0);
    if (std::optional<int32_t> opacity = ParseIniInteger(store.Read(file, Section, OpacityKey)))
        settings.Opacity = static_cast<uint8_t>(static_cast<uint32_t>(*opacity) & 0xFF);
    return settings;
}

void WriteInformerSettings(ProfileStore& store, const std::filesystem::path& file, const InformerSettings& settings)
{
    for (std::size_t i = 0; i < 4; ++i)
        store.Write(file, Section, WidthKeys[i], std::to_string(settings.Widths[i]));
    store.Write(file, Section, OpacityKey, std::to_string(settings.Opacity));
}

uint8_t ShownOpacity(uint8_t stored) { return std::max(stored, LeastShownOpacity); }

std::filesystem::path SettingsFileToRead(const std::filesystem::path& workFile, const std::filesystem::path& legacyFile)
{
    std::error_code ec;
    if (!std::filesystem::exists(workFile, ec) && std::filesystem::is_regular_file(legacyFile, ec))
        return legacyFile;
    return workFile;
}
