#pragma once
// Texts of traffic amounts and money, and the name shown for a connection; shared by the
// main window's panel, the informer rows and the history report.
#include <cstdint>
#include <string>

#include "engine/day_records.h"

// Drawn after texts that may be shorter than what the previous pass drew at the same place:
// the panel's bitmap is never cleared.
extern const std::string Blanks92;

// The patterns "0.0" (decimals 1) and "0.00" (decimals 2): at least one integer digit, no
// grouping, rounded half away from zero on the value's 15 significant digits.
std::string FormatFixed(double value, int decimals, char decimalSeparator);

// Kilobytes (1024 octets) up to 1024 KB as "1024,0 Kb"; above as "1 Mb 512 Kb".
std::string TrafficTextKb(double kilobytesA, double kilobytesB, char decimalSeparator);
// The same for two octet counts; sums are 64-bit and never wrap at 4 GiB.
std::string TrafficText(uint64_t octetsA, uint64_t octetsB, char decimalSeparator);
// Money for two products of a price per megabyte and an octet count: "12,50 руб.".
std::string CostText(double priceTimesOctetsA, double priceTimesOctetsB, char decimalSeparator);

// The connection's alias when it has a tariff entry (even an empty alias; padded with 92
// blanks when asked), otherwise its name, never padded.
std::string DisplayName(const TariffArray& tariffs, const std::string& name, bool padded);

// One informer line, built by the drawing pass for every connection it draws.
struct infos {
    std::string Title;    // the display name's first 17 characters, then ".   "
    std::string Conn;     // the connection name
    std::string Traffic;  // today's total traffic
    std::string Sum;      // today's money
    std::string Speed;    // the speed text as drawn
    uint8_t Visible = 1;  // 0: hidden from the informer by "nast_o.txt"
};
