#include "engine/budget.h"

#include <algorithm>
#include <cstdio>

#include "engine/number_format.h"

const char* const BudgetFileName = "budget.txt";

namespace {

const char* const CrLf = "\r\n";

bool ParseWhole(const std::string& text, int32_t& value)
{
    double number = 0;
    if (!ParseNumber(text, number, '.') || number != static_cast<double>(static_cast<int64_t>(number)) ||
        number < -2147483648.0 || number > 2147483647.0)
        return false;
    value = static_cast<int32_t>(number);
    return true;
}

std::optional<Date> ParseIsoDate(const std::string& text)
{
    unsigned y = 0, m = 0, d = 0;
    char tail = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4u-%2u-%2u%c", &y, &m, &d, &tail) != 3 || m < 1 || m > 12 ||
        d < 1 || d > 31)
        return std::nullopt;
    return Date{static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d)};
}

}  // namespace

std::string IsoDate(const Date& date)
{
    char text[24];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", unsigned{date.Year}, unsigned{date.Month}, unsigned{date.Day});
    return text;
}

namespace {

std::optional<Warned> ParseWarned(const std::string& text)
{
    int32_t value = 0;
    if (!ParseWhole(text, value))
        return std::nullopt;
    if (value == 0)
        return Warned::None;
    if (value == 80)
        return Warned::Near;
    if (value == 100)
        return Warned::Over;
    return std::nullopt;
}

// The last `count` "|"-separated fields of the line and the name before them.
bool SplitFromTheEnd(const std::string& line, std::size_t count, std::string& name, std::vector<std::string>& fields)
{
    fields.assign(count, {});
    std::size_t end = line.size();
    for (std::size_t k = count; k-- > 0;) {
        std::size_t bar = end == 0 ? std::string::npos : line.rfind('|', end - 1);
        if (bar == std::string::npos)
            return false;
        fields[k] = line.substr(bar + 1, end - bar - 1);
        end = bar;
    }
    name = line.substr(0, end);
    return !name.empty();
}

std::optional<Budget> ParseLine(const std::string& line, char sep)
{
    std::string name;
    std::vector<std::string> f;
    // With what was shown (seven fields in all), or without it (four).
    if (SplitFromTheEnd(line, 6, name, f)) {
        Budget b;
        std::optional<Date> from = ParseIsoDate(f[3]);
        std::optional<Warned> money = ParseWarned(f[4]), traffic = ParseWarned(f[5]);
        if (from && money && traffic && ParseWhole(f[0], b.BillingDay) && ParseNumber(f[1], b.MoneyLimit, sep) &&
            ParseNumber(f[2], b.TrafficLimitMb, sep)) {
            b.Name = name;
            b.WarnedFrom = *from;
            b.MoneyWarned = *money;
            b.TrafficWarned = *traffic;
            return b;
        }
    }
    if (SplitFromTheEnd(line, 3, name, f)) {
        Budget b;
        if (ParseWhole(f[0], b.BillingDay) && ParseNumber(f[1], b.MoneyLimit, sep) &&
            ParseNumber(f[2], b.TrafficLimitMb, sep)) {
            b.Name = name;
            return b;
        }
    }
    return std::nullopt;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// The billing day in that month: its last day where the month is shorter.
Date BillingDate(int year, int month, int32_t billingDay)
{
    return Date{static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                static_cast<uint16_t>(std::min<int32_t>(billingDay, DaysInMonth(year, month)))};
}

}  // namespace

std::vector<BudgetLine> ReadBudgets(const std::string& text, char sep)
{
    std::vector<BudgetLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        lines.push_back(BudgetLine{ParseLine(line, sep), line});
    }
    return lines;
}

std::string BudgetLineText(const Budget& b, char sep)
{
    std::string line = b.Name + "|" + std::to_string(b.BillingDay) + "|" + FormatGeneral(b.MoneyLimit, sep) + "|" +
                       FormatGeneral(b.TrafficLimitMb, sep);
    if (b.WarnedFrom.Year != 0)
        line += "|" + IsoDate(b.WarnedFrom) + "|" + std::to_string(static_cast<int>(b.MoneyWarned)) + "|" +
                std::to_string(static_cast<int>(b.TrafficWarned));
    return line;
}

std::string BudgetsText(const std::vector<BudgetLine>& lines, char sep)
{
    std::string text;
    for (const BudgetLine& line : lines)
        text += (line.Parsed ? BudgetLineText(*line.Parsed, sep) : line.Raw) + CrLf;
    return text;
}

// Days from civil dates (the proleptic Gregorian calendar), after H. Hinnant's algorithm.
int64_t DayNumber(const Date& date)
{
    int64_t y = date.Year, m = date.Month, d = date.Day;
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date DateOfDay(int64_t z)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2);
    return Date{static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d)};
}

Period BillingPeriod(const Date& today, int32_t billingDay)
{
    billingDay = std::clamp<int32_t>(billingDay, 1, 31);
    int year = today.Year, month = today.Month;
    Date first = BillingDate(year, month, billingDay);
    if (DayNumber(today) < DayNumber(first)) {
        if (--month == 0)
            month = 12, --year;
        first = BillingDate(year, month, billingDay);
    }
    int nextYear = year, nextMonth = month + 1;
    if (nextMonth == 13)
        nextMonth = 1, ++nextYear;
    const Date next = BillingDate(nextYear, nextMonth, billingDay);
    return Period{first, DateOfDay(DayNumber(next) - 1)};
}

double BudgetUsage::ForecastMb() const { return DaysGone > 0 ? TrafficMb() / DaysGone * Span.Days() : 0; }

double BudgetUsage::ForecastMoney() const { return DaysGone > 0 ? Money / DaysGone * Span.Days() : 0; }

double BudgetUsage::TrafficLeftPerDayMb(double limitMb) const
{
    return DaysLeft > 0 ? std::max(0.0, limitMb - TrafficMb()) / DaysLeft : 0;
}

double BudgetUsage::MoneyLeftPerDay(double limit) const
{
    return DaysLeft > 0 ? std::max(0.0, limit - Money) / DaysLeft : 0;
}

BudgetUsage UsageOf(const DayRecordArray& history, const std::string& connection, const Date& today,
                    int32_t billingDay, double priceIn, double priceOut)
{
    BudgetUsage usage;
    usage.Span = BillingPeriod(today, billingDay);
    const int64_t first = DayNumber(usage.Span.First), last = DayNumber(today);
    for (int32_t i = 1; i <= history.HistoryCount(); ++i) {
        const DayRecord& r = history[i];
        if (r.Name != connection || r.Year == 0)
            continue;
        const int64_t day = DayNumber(Date{r.Year, r.Month, r.Day});
        if (day < first || day > last)
            continue;
        usage.InOctets += r.InOctets;
        usage.OutOctets += r.OutOctets;
    }
    // As the panel prices it: the price per megabyte times the octets of each direction.
    usage.Money = (priceIn * static_cast<double>(usage.InOctets) + priceOut * static_cast<double>(usage.OutOctets)) /
                  BudgetMegabyte;
    usage.DaysGone = static_cast<int>(last - first + 1);
    usage.DaysLeft = static_cast<int>(DayNumber(usage.Span.Last) - last + 1);
    return usage;
}

std::vector<BudgetWarning> NewWarnings(Budget& budget, const BudgetUsage& usage)
{
    std::vector<BudgetWarning> warnings;
    if (!budget.Active())
        return warnings;
    if (budget.WarnedFrom != usage.Span.First) {
        budget.WarnedFrom = usage.Span.First;
        budget.MoneyWarned = budget.TrafficWarned = Warned::None;
    }
    auto check = [&](bool money, double used, double limit, Warned& shown) {
        if (limit <= 0)
            return;
        const Warned reached = used >= limit ? Warned::Over : used >= 0.8 * limit ? Warned::Near : Warned::None;
        if (static_cast<int>(reached) > static_cast<int>(shown)) {
            shown = reached;
            warnings.push_back(BudgetWarning{money, reached});
        }
    };
    check(true, usage.Money, budget.MoneyLimit, budget.MoneyWarned);
    check(false, usage.TrafficMb(), budget.TrafficLimitMb, budget.TrafficWarned);
    return warnings;
}
