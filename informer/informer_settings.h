#pragma once
// "vrn15.ini" beside the state files: the informer's column widths and opacity (section
// "SIZEPOL") and its window placement (section "TForm2"). Values are decimal integers.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/profile_store.h"

extern const char* const SettingsFileName;  // "vrn15.ini"

// An ini integer: decimal with an optional sign, or hexadecimal after "0x" or "0X" (up to 32
// bits, read as two's complement). Nothing for an empty value, other text or an overflow.
std::optional<int32_t> ParseIniInteger(std::string_view text);

// The five values of "SIZEPOL". Missing, empty or unreadable keys give the design values, so
// a first show is never an invisible sliver; a stored value is used as stored, 0 included.
struct InformerSettings {
    std::array<int32_t, 4> Widths{100, 90, 75, 75};  // "TNAME", "TTRAF", "TSUM", "TSPD"
    uint8_t Opacity = 150;                           // "TPRZ", 0 transparent .. 255 opaque
};

// Reads "SIZEPOL". Widths below 0 read as 0 (the list control takes negative widths as
// "fit the text"); "TPRZ" keeps its low 8 bits (300 gives 44).
InformerSettings ReadInformerSettings(ProfileStore& store, const std::filesystem::path& file);
// Writes "TNAME", "TTRAF", "TSUM", "TSPD" and "TPRZ" in this order; throws when one cannot be written.
void WriteInformerSettings(ProfileStore& store, const std::filesystem::path& file, const InformerSettings& settings);

// An informer the user cannot see cannot be reached again (its slider is opened from its own
// menu): a show raises a stored opacity below 10 % to this.
constexpr uint8_t LeastShownOpacity = 26;
uint8_t ShownOpacity(uint8_t stored);

// The file a show reads: the working folder's once it exists; before that the one an earlier
// version kept in the Windows directory, when there is one, so nobody loses those settings.
std::filesystem::path SettingsFileToRead(const std::filesystem::path& workFile,
                                         const std::filesystem::path& legacyFile);
