#pragma once
// "history.txt" and "price.txt": the engine's state between runs, as plain text lines.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/day_records.h"
#include "platform/file_store.h"

// Lines of a text: CR LF, a lone CR and a lone LF each end a line; a line end at the very
// end of the text adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);
// The same one line at a time, in place: takes the next line off the front of `text`;
// false when nothing is left.
bool NextLine(std::string_view& text, std::string_view& line);

// Drops blanks and control characters (every byte up to the space) at both ends.
std::string TrimBlanks(std::string_view text);

// The history reader's field splitter: takes the digits met before `delimiter` (anything
// else is dropped) and removes everything up to and including the delimiter from `line`.
// A field with no digits, or above `limit`, reads as 0.
uint32_t SplitField(std::string_view& line, char delimiter, uint32_t limit);

struct HistorySettings {
    std::string ShowName;
    std::optional<int32_t> Width;  // "form1.width": the main window's outer width
};

// Appends the text's records to `history` and returns the settings lines it held.
HistorySettings ReadHistoryText(std::string_view text, DayRecordArray& history);

// The same reader fed a piece at a time, as a file is read in blocks.
class HistoryReader {
public:
    explicit HistoryReader(DayRecordArray& history) : history_(history) {}
    // Reads the whole lines at the front of `text` and returns how many bytes they took; a
    // line end that may go on in the next piece (a CR at the very end) is left for it. With
    // `atEnd` the rest is the last line and everything is taken.
    std::size_t Feed(std::string_view text, bool atEnd);
    const HistorySettings& Settings() const { return settings_; }

private:
    void Line(std::string_view line);

    DayRecordArray& history_;
    HistorySettings settings_;
};

// "history.txt" a piece at a time, as it is saved; the pieces read `history` as they are
// made, so it must outlive them and stay unchanged meanwhile.
FilePieces HistoryTextPieces(const DayRecordArray& history, const std::string& showName, int32_t width);
// The same whole.
std::string WriteHistoryText(const DayRecordArray& history, const std::string& showName, int32_t width);

// Appends the text's entries to `tariffs` (no more than the table holds). Prices read with
// ".", "," or the regional `decimalSeparator`, the one they are written with.
void ReadTariffText(std::string_view text, TariffArray& tariffs, char decimalSeparator);
std::string WriteTariffText(const TariffArray& tariffs, char decimalSeparator);
