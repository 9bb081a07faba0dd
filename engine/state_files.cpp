#include "engine/state_files.h"

#include <charconv>

#include "engine/number_format.h"

namespace {

constexpr uint32_t CounterLimit = 4294967295u;
constexpr uint32_t FieldLimit = 2147483647u;
constexpr int32_t WidthFallback = 500;
const char* const LineEnd = "\r\n";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::optional<int32_t> ParseInt32(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int32_t value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Writes the decimal digits of `value` at `at`, which has room for them; returns the end.
template <typename T>
char* PutNumber(char* at, T value)
{
    return std::to_chars(at, at + 11, value).ptr;
}

// A counter and the blanks that pad it to 10 characters.
char* PutPadded(char* at, uint32_t counter)
{
    char* end = PutNumber(at, counter);
    while (end < at + 10)
        *end++ = ' ';
    return end;
}

}  // namespace

bool NextLine(std::string_view& text, std::string_view& line)
{
    if (text.empty())
        return false;
    std::size_t end = 0;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    line = text.substr(0, end);
    if (end < text.size())
        end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
    text.remove_prefix(end);
    return true;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string_view line;
    while (NextLine(text, line))
        lines.emplace_back(line);
    return lines;
}

std::string TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

uint32_t SplitField(std::string_view& line, char delimiter, uint32_t limit)
{
    std::size_t end = line.find(delimiter);
    std::size_t scanned = end == std::string_view::npos ? line.size() : end;
    uint64_t value = 0;
    bool tooLarge = false;
    for (std::size_t i = 0; i < scanned; ++i) {
        char c = line[i];
        if (c < '0' || c > '9')
            continue;
        if (!tooLarge) {
            value = value * 10 + static_cast<uint64_t>(c - '0');
            tooLarge = value > limit;
        }
    }
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    return tooLarge ? 0 : static_cast<uint32_t>(value);
}

void HistoryReader::Line(std::string_view line)
{
    if (line.find('\t') != std::string_view::npos) {
        const auto day = static_cast<uint16_t>(SplitField(line, '.', FieldLimit));
        const auto month = static_cast<uint16_t>(SplitField(line, '.', FieldLimit));
        const auto year = static_cast<uint16_t>(SplitField(line, '-', FieldLimit));
        const auto segment = static_cast<int32_t>(SplitField(line, '\t', FieldLimit));
        const uint32_t in = SplitField(line, '\t', CounterLimit);
        const uint32_t out = SplitField(line, '\t', CounterLimit);
        DayRecord& record = history_.Append(line);  // the name: the rest of the line
        record.Day = day;
        record.Month = month;
        record.Year = year;
        record.Segment = segment;
        record.InOctets = in;
        record.OutOctets = out;
        return;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return;
    std::string key = TrimBlanks(line.substr(0, eq));
    std::string value = TrimBlanks(line.substr(eq + 1));
    if (key == "SHOW")
        settings_.ShowName = value;
    else if (key == "form1.width")
        settings_.Width = ParseInt32(value).value_or(WidthFallback);
}

std::size_t HistoryReader::Feed(std::string_view text, bool atEnd)
{
    std::size_t whole = text.size();
    if (!atEnd) {
        // Up to the last line end before the final byte (which may be a CR of a CR LF).
        std::size_t last = text.size() < 2 ? std::string_view::npos : text.find_last_of("\r\n", text.size() - 2);
        if (last == std::string_view::npos)
            return 0;
        whole = last + (text[last] == '\r' && text[last + 1] == '\n' ? 2 : 1);
    }
    std::string_view rest = text.substr(0, whole), line;
    while (NextLine(rest, line))
        Line(line);
    return whole;
}

HistorySettings ReadHistoryText(std::string_view text, DayRecordArray& history)
{
    HistoryReader reader(history);
    reader.Feed(text, true);
    return reader.Settings();
}

namespace {

// The numbers of a line: three date fields of at most 5 digits, a segment of at most 11
// characters, two counters of 10, and their separators.
constexpr std::size_t NumbersLength = 3 * 6 + 12 + 2 * 11;

void AppendHistoryLine(std::string& text, const DayRecord& r)
{
    char numbers[NumbersLength];
    char* at = numbers;
    at = PutNumber(at, r.Day);
    *at++ = '.';
    at = PutNumber(at, r.Month);
    *at++ = '.';
    at = PutNumber(at, r.Year);
    *at++ = '-';
    at = PutNumber(at, r.Segment);
    *at++ = '\t';
    at = PutPadded(at, r.InOctets);
    *at++ = '\t';
    at = PutPadded(at, r.OutOctets);
    *at++ = '\t';
    text.append(numbers, static_cast<std::size_t>(at - numbers));
    text += r.Name.str();
    text += LineEnd;
}

// About a megabyte of text: small enough to stay in the processor's caches, large enough
// that the writes are few.
constexpr int32_t RecordsPerPiece = 16384;

}  // namespace

FilePieces HistoryTextPieces(const DayRecordArray& history, const std::string& showName, int32_t width)
{
    // The settings lines first, then the records a piece at a time, all made in one buffer.
    std::string header = "SHOW=" + showName + LineEnd + "form1.width=" + std::to_string(width) + LineEnd;
    return [&history, buffer = std::move(header), headerGiven = false, next = 1](std::string_view& piece) mutable {
        if (!headerGiven) {
            headerGiven = true;
            piece = buffer;
            return true;
        }
        if (next > history.HistoryCount())
            return false;
        const int32_t last = next + std::min(RecordsPerPiece, history.HistoryCount() - next + 1) - 1;
        std::size_t room = 0;  // the longest lines these records can make, so the buffer never moves
        for (int32_t i = next; i <= last; ++i)
            room += NumbersLength + history[i].Name.str().size() + 2;
        buffer.clear();
        buffer.reserve(room);
        for (; next <= last; ++next)
            AppendHistoryLine(buffer, history[next]);
        piece = buffer;
        return true;
    };
}

std::string WriteHistoryText(const DayRecordArray& history, const std::string& showName, int32_t width)
{
    FilePieces pieces = HistoryTextPieces(history, showName, width);
    std::string text;
    std::string_view piece;
    while (pieces(piece))
        text += piece;
    return text;
}

void ReadTariffText(std::string_view text, TariffArray& tariffs, char decimalSeparator)
{
    for (const std::string& line : SplitLines(text)) {
        if (tariffs.Full())
            break;
        if (line.find('\t') != std::string::npos)
            continue;
        std::size_t bar = line.find('|');
        if (bar == std::string::npos)
            continue;
        // Name|Alias>PriceIn@PriceOut. The prices never hold ">" or "@", so the last "@"
        // and the last ">" before it find them even when the alias holds those characters.
        std::string_view rest = std::string_view(line).substr(bar + 1);
        std::size_t at = rest.rfind('@');
        std::size_t gt = rest.rfind('>', at == std::string_view::npos ? std::string_view::npos : at);
        std::string alias;
        std::string_view inText, outText;
        if (gt != std::string_view::npos) {
            alias = TrimBlanks(rest.substr(0, gt));
            inText = rest.substr(gt + 1, at == std::string_view::npos ? std::string_view::npos : at - gt - 1);
        }
        if (at != std::string_view::npos)
            outText = rest.substr(at + 1);

        // A price that does not convert reads as 0: the entry, its name and alias stay.
        double priceIn = 0, priceOut = 0;
        if (!ParseNumber(inText, priceIn, decimalSeparator))
            priceIn = 0;
        if (!ParseNumber(outText, priceOut, decimalSeparator))
            priceOut = 0;
        // The name as written: a connection named with blanks at an end keeps its entry.
        int i = tariffs.Add(line.substr(0, bar), alias);
        tariffs[i].PriceIn = priceIn;
        tariffs[i].PriceOut = priceOut;
    }
}

std::string WriteTariffText(const TariffArray& tariffs, char decimalSeparator)
{
    std::string out;
    for (int i = 1; i <= tariffs.TariffCount(); ++i) {
        const mtp& t = tariffs[i];
        out += t.Name + '|' + t.Alias + '>' + FormatGeneral(t.PriceIn, decimalSeparator) + '@' +
               FormatGeneral(t.PriceOut, decimalSeparator) + LineEnd;
    }
    return out;
}
