#include "report/history_csv.h"

#include <map>
#include <tuple>

#include "engine/budget.h"
#include "engine/formats.h"
#include "engine/number_format.h"
#include "report/history_report.h"

const char* const HistoryCsvFileName = "history.csv";

namespace {

std::string Field(const std::string& utf8, char separator)
{
    if (utf8.find_first_of(std::string(1, separator) + "\"\r\n") == std::string::npos)
        return utf8;
    std::string quoted = "\"";
    for (char c : utf8)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string ProgramUtf8(const char* text) { return Utf8(FromWindows1251(text)); }

}  // namespace

std::string HistoryCsv(const DayRecordArray& history, const TariffArray& tariffs, char listSeparator,
                       char decimalSeparator, const std::function<std::string(const std::string&)>& userTextToUtf8)
{
    const char sep = listSeparator == decimalSeparator ? ';' : listSeparator;
    // (year, month, day, connection) -> the day's octets in and out.
    std::map<std::tuple<uint16_t, uint16_t, uint16_t, int32_t>, std::pair<uint64_t, uint64_t>> days;
    std::map<std::string, int32_t> connectionOf;  // its place in the order of first records
    for (int32_t c = 0; c < history.ConnectionCount(); ++c)
        connectionOf.emplace(history.ConnectionNameOf(c), c);
    for (int32_t i = 1; i <= history.HistoryCount(); ++i) {
        const DayRecord& r = history[i];
        const auto found = connectionOf.find(r.Name);
        if (found == connectionOf.end() || (r.Year == 0 && r.Month == 0 && r.Day == 0))
            continue;
        auto& sums = days[{r.Year, r.Month, r.Day, found->second}];
        sums.first += r.InOctets;
        sums.second += r.OutOctets;
    }

    const char* const headers[] = {"Дата", "Соединение", "Имя", "Принято, байт", "Отправлено, байт",
                                   "Цена входящего Мб", "Цена исходящего Мб", "Стоимость, руб."};
    std::string csv = "\xEF\xBB\xBF";
    for (std::size_t k = 0; k < std::size(headers); ++k)
        csv += (k ? std::string(1, sep) : std::string()) + Field(ProgramUtf8(headers[k]), sep);
    csv += "\r\n";
    for (const auto& [key, sums] : days) {
        const auto& [year, month, day, connection] = key;
        const std::string& name = history.ConnectionNameOf(connection);
        const int entry = tariffs.Find(name);
        const double priceIn = entry ? tariffs[entry].PriceIn : 0, priceOut = entry ? tariffs[entry].PriceOut : 0;
        const double cost = priceIn * static_cast<double>(sums.first) / 1048576 +
                            priceOut * static_cast<double>(sums.second) / 1048576;
        const std::string fields[] = {IsoDate(Date{year, month, day}),
                                      userTextToUtf8(name),
                                      userTextToUtf8(DisplayName(tariffs, name, false)),
                                      std::to_string(sums.first),
                                      std::to_string(sums.second),
                                      FormatGeneral(priceIn, decimalSeparator),
                                      FormatGeneral(priceOut, decimalSeparator),
                                      FormatFixed(cost, 2, decimalSeparator)};
        for (std::size_t k = 0; k < std::size(fields); ++k)
            csv += (k ? std::string(1, sep) : std::string()) + Field(fields[k], sep);
        csv += "\r\n";
    }
    return csv;
}
