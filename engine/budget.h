#pragma once
// A money and traffic budget per connection over its billing month: "budget.txt" beside
// "price.txt", the period a day falls in, the figures of a period so far, the forecast, what is
// left per day, and the warnings at 80 % and 100 % of a limit, each shown once per period.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/day_records.h"
#include "platform/clock.h"

extern const char* const BudgetFileName;  // "budget.txt"
constexpr double BudgetMegabyte = 1048576;

// The highest warning shown in a period for a limit: none, 80 % or 100 %.
enum class Warned : uint8_t { None = 0, Near = 80, Over = 100 };

struct Budget {
    std::string Name;          // the connection's name, as in "price.txt"
    int32_t BillingDay = 1;    // the period starts on this day of the month (1..31)
    double MoneyLimit = 0;     // roubles a period; 0: none
    double TrafficLimitMb = 0; // megabytes of 1048576 octets a period; 0: none
    // What was shown for the period that began on WarnedFrom (a zero date: nothing yet).
    Date WarnedFrom{};
    Warned MoneyWarned = Warned::None;
    Warned TrafficWarned = Warned::None;

    // A billing day outside 1..31 or a negative limit (a hand-edited line) turns the budget off;
    // its values are still written back as read.
    bool Active() const { return BillingDay >= 1 && BillingDay <= 31 && MoneyLimit >= 0 && TrafficLimitMb >= 0; }
};

// Lines `Name|day|money|traffic` and, once a warning was shown, `|yyyy-mm-dd|money %|traffic %`;
// CR LF each. Fields are found from the end of the line; the name is all before them, as it
// stands (it may hold "|"; in code page 936 "|" can also be the second byte of a character).
// A line without readable fields is kept as it stands.
struct BudgetLine {
    std::optional<Budget> Parsed;
    std::string Raw;  // the line as read, written back when it did not read
};
std::vector<BudgetLine> ReadBudgets(const std::string& fileText, char decimalSeparator);
std::string BudgetsText(const std::vector<BudgetLine>& lines, char decimalSeparator);
std::string BudgetLineText(const Budget& budget, char decimalSeparator);

// "yyyy-mm-dd".
std::string IsoDate(const Date& date);

// Day arithmetic on the calendar.
int64_t DayNumber(const Date& date);  // days since 1970-01-01
Date DateOfDay(int64_t day);

// The billing period `today` falls in: from the billing day of this or the previous month (the
// month's last day in a month without that day) to the day before the next period begins.
struct Period {
    Date First, Last;
    int Days() const { return static_cast<int>(DayNumber(Last) - DayNumber(First) + 1); }
};
Period BillingPeriod(const Date& today, int32_t billingDay);

// A period's figures up to today: traffic in both directions, money at the current prices (as
// the panel prices it), the forecast for the whole period at the pace so far, and what may still
// be spent per remaining day (today counts as remaining) within each limit.
struct BudgetUsage {
    Period Span;
    uint64_t InOctets = 0, OutOctets = 0;
    double Money = 0;
    int DaysGone = 0;  // today included
    int DaysLeft = 0;  // today included
    double TrafficMb() const { return static_cast<double>(InOctets + OutOctets) / BudgetMegabyte; }
    double ForecastMb() const;
    double ForecastMoney() const;
    double TrafficLeftPerDayMb(double limitMb) const;
    double MoneyLeftPerDay(double limit) const;
};
BudgetUsage UsageOf(const DayRecordArray& history, const std::string& connection, const Date& today,
                    int32_t billingDay, double priceIn, double priceOut);

// The warnings a tick brings: the highest threshold newly passed of each limit (crossing 80 and
// 100 % at once shows only 100 %). Updates what `budget` remembers as shown; a new period
// re-arms both.
struct BudgetWarning {
    bool Money;     // the money limit, else the traffic limit
    Warned Level;   // Near (80 %) or Over (100 %)
};
std::vector<BudgetWarning> NewWarnings(Budget& budget, const BudgetUsage& usage);
