#pragma once
// "history.csv": every connection's history for a spreadsheet. One row per connection and
// date (its records of that day summed), oldest date first, then in the order of the
// connections' first records; records dated 0.0.0 left out. UTF-8 with a byte-order mark, so a
// spreadsheet shows Cyrillic names right; CR LF line ends; fields quoted as RFC 4180 says where
// they hold the separator, a quote or a line break.
#include <functional>
#include <string>

#include "engine/day_records.h"

extern const char* const HistoryCsvFileName;  // "history.csv"

// `listSeparator` is the regional list separator; ";" stands in where it equals the decimal
// separator. `userTextToUtf8` converts a name or alias from the system's ANSI code page.
std::string HistoryCsv(const DayRecordArray& history, const TariffArray& tariffs, char listSeparator,
                       char decimalSeparator, const std::function<std::string(const std::string&)>& userTextToUtf8);
