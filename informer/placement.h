#pragma once
// The informer's window placement in section "TForm2" of the settings file: where the window
// stood, so a show puts it back there, also after a restart.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/profile_store.h"

extern const char* const PlacementSection;  // "TForm2", the window's class name

// The values of the platform's window placement (workspace coordinates).
struct Placement {
    uint32_t Flags = 0;
    int32_t ShowCmd = 1;  // 1 normal, 2 minimized, 3 maximized
    int32_t MinX = -1, MinY = -1, MaxX = -1, MaxY = -1;
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // the normal window rectangle
};

// "%d,%d,%d,%d"
std::string FormatFour(int32_t a, int32_t b, int32_t c, int32_t d);
// Reads up to four comma-separated integers into `values`; a field that is missing or not a
// number leaves its value as it was.
void ParseFour(std::string_view text, int32_t (&values)[4]);

// Writes "FormVersion" (0), "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos" and
// "Visible" (1 for the save made while the window is destroyed); throws when one cannot be written.
void WritePlacement(ProfileStore& store, const std::filesystem::path& file, const Placement& placement,
                    int32_t pixelsPerInch, bool visible);

// A show's restore, starting from the window's current placement. Nothing is taken when the
// stored "FormVersion" is below 0. The position is taken when "MinMaxPos" or "NormPos" is
// stored and the stored "PixelsPerInch" (the screen's when absent) is the screen's; the window
// keeps its size, so only the left and top of "NormPos" count. Then "ShowCmd".
// Returns false when nothing was taken.
bool ReadPlacement(ProfileStore& store, const std::filesystem::path& file, int32_t pixelsPerInch,
                   Placement& placement);
