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

void AppendPadded(std::string& out, uint32_t counter)
{
    std::string digits = std::to_string(counter);
    out += digits;
    if (digits.size() < 10)
        out.append(10 - digits.size(), ' ');
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
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

uint32_t SplitField(std::string& line, char delimiter, uint32_t limit)
{
    std::size_t end = line.find(delimiter);
    std::size_t scanned = end == std::string::npos ? line.size() : end;
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
    line.erase(0, end == std::string::npos ? line.size() : end + 1);
    return tooLarge ? 0 : static_cast<uint32_t>(value);
}

HistorySettings ReadHistoryText(std::string_view text, DayRecordArray& history)
{
    HistorySettings settings;
    for (std::string& line : SplitLines(text)) {
        if (line.find('\t') != std::string::npos) {
            DayRecord& record = history.Append();
            record.Day = static_cast<uint16_t>(SplitField(line, '.', FieldLimit));
            record.Month = static_cast<uint16_t>(SplitField(line, '.', FieldLimit));
            record.Year = static_cast<uint16_t>(SplitField(line, '-', FieldLimit));
            record.Segment = static_cast<int32_t>(SplitField(line, '\t', FieldLimit));
            record.InOctets = SplitField(line, '\t', CounterLimit);
            record.OutOctets = SplitField(line, '\t', CounterLimit);
            record.Name = std::move(line);
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = TrimBlanks(std::string_view(line).substr(0, eq));
        std::string value = TrimBlanks(std::string_view(line).substr(eq + 1));
        if (key == "SHOW")
            settings.ShowName = value;
        else if (key == "form1.width")
            settings.Width = ParseInt32(value).value_or(WidthFallback);
    }
    return settings;
}

std::string WriteHistoryText(const DayRecordArray& history, const std::string& showName, int32_t width)
{
    std::string out;
    out.reserve(64 + static_cast<std::size_t>(history.HistoryCount()) * 64);
    out += "SHOW=" + showName + LineEnd;
    out += "form1.width=" + std::to_string(width) + LineEnd;
    for (int32_t i = 1; i <= history.HistoryCount(); ++i) {
        const DayRecord& r = history[i];
        out += std::to_string(r.Day) + '.' + std::to_string(r.Month) + '.' + std::to_string(r.Year) + '-' +
               std::to_string(r.Segment) + '\t';
        AppendPadded(out, r.InOctets);
        out += '\t';
        AppendPadded(out, r.OutOctets);
        out += '\t';
        out += r.Name;
        out += LineEnd;
    }
    return out;
}

void ReadTariffText(std::string_view text, TariffArray& tariffs)
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
        if (!ParseNumber(inText, priceIn))
            priceIn = 0;
        if (!ParseNumber(outText, priceOut))
            priceOut = 0;
        int i = tariffs.Add(TrimBlanks(std::string_view(line).substr(0, bar)), alias);
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
