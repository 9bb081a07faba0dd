#include "informer/placement.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "informer/informer_settings.h"

const char* const PlacementSection = "TForm2";

namespace {
// A hand-edited position near the end of the range must not wrap around.
int32_t Add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{a} + b, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}
}  // namespace

std::string FormatFour(int32_t a, int32_t b, int32_t c, int32_t d)
{
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}

void ParseFour(std::string_view text, int32_t (&values)[4])
{
    for (int32_t& value : values) {
        std::size_t comma = text.find(',');
        if (std::optional<int32_t> field = ParseIniInteger(text.substr(0, comma)))
            value = *field;
        if (comma == std::string_view::npos)
            return;
        text.remove_prefix(comma + 1);
    }
}

void WritePlacement(ProfileStore& store, const std::filesystem::path& file, const Placement& p,
                    int32_t pixelsPerInch, bool visible)
{
    store.Write(file, PlacementSection, "FormVersion", "0");
    store.Write(file, PlacementSection, "Flags", std::to_string(p.Flags));
    store.Write(file, PlacementSection, "ShowCmd", std::to_string(p.ShowCmd));
    store.Write(file, PlacementSection, "PixelsPerInch", std::to_string(pixelsPerInch));
    store.Write(file, PlacementSection, "MinMaxPos", FormatFour(p.MinX, p.MinY, p.MaxX, p.MaxY));
    store.Write(file, PlacementSection, "NormPos", FormatFour(p.Left, p.Top, p.Right, p.Bottom));
    store.Write(file, PlacementSection, "Visible", visible ? "1" : "0");
}

bool ReadPlacement(ProfileStore& store, const std::filesystem::path& file, int32_t pixelsPerInch, Placement& p)
{
    auto read = [&](const char* key) { return store.Read(file, PlacementSection, key); };
    if (ParseIniInteger(read("FormVersion")).value_or(0) < 0)
        return false;
    p.Flags = static_cast<uint32_t>(ParseIniInteger(read("Flags")).value_or(static_cast<int32_t>(p.Flags)));
    std::string minMax = read("MinMaxPos");
    std::string norm = read("NormPos");
    if ((!minMax.empty() || !norm.empty()) &&
        ParseIniInteger(read("PixelsPerInch")).value_or(pixelsPerInch) == pixelsPerInch) {
        int32_t minMaxValues[4] = {p.MinX, p.MinY, p.MaxX, p.MaxY};
        ParseFour(minMax, minMaxValues);
        p.MinX = minMaxValues[0];
        p.MinY = minMaxValues[1];
        p.MaxX = minMaxValues[2];
        p.MaxY = minMaxValues[3];
        int32_t width = p.Right - p.Left, height = p.Bottom - p.Top;
        int32_t normValues[4] = {p.Left, p.Top, p.Right, p.Bottom};
        ParseFour(norm, normValues);
        p.Left = normValues[0];
        p.Top = normValues[1];
        p.Right = Add(p.Left, width);
        p.Bottom = Add(p.Top, height);
    }
    p.ShowCmd = ParseIniInteger(read("ShowCmd")).value_or(p.ShowCmd);
    return true;
}
