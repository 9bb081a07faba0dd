#include "engine/budget.h"

#include <gtest/gtest.h>

namespace {

TEST(BudgetFile, LinesRoundTripAndOddOnesAreKept)
{
    const struct {
        const char* what;
        std::string line;
        char sep;
        bool reads, active;
        std::string name;
        int32_t day;
        double money, traffic;
    } cases[] = {
        {"plain", "Модем МТС|15|500|2048", ',', true, true, "Модем МТС", 15, 500, 2048},
        {"fractions in the regional separator", "ADSL|1|499,5|1,5", ',', true, true, "ADSL", 1, 499.5, 1.5},
        {"and in the other", "ADSL|1|499.5|1.5", '.', true, true, "ADSL", 1, 499.5, 1.5},
        {"a name holding |", "VPN | office|31|0|0", ',', true, true, "VPN | office", 31, 0, 0},
        {"a name of a double-byte code page, '|' as a second byte", "\x95\x7c\x8e\x7c|5|10|20", ',', true, true,
         "\x95\x7c\x8e\x7c", 5, 10, 20},
        {"a name with blanks around it, untrimmed", " eth0 |2|1|1", ',', true, true, " eth0 ", 2, 1, 1},
        {"a billing day of 0 turns it off", "eth0|0|100|0", ',', true, false, "eth0", 0, 100, 0},
        {"and one of 32", "eth0|32|100|0", ',', true, false, "eth0", 32, 100, 0},
        {"a negative limit too", "eth0|1|-5|0", ',', true, false, "eth0", 1, -5, 0},
        {"with what was shown", "eth0|3|100|0|2026-12-03|80|0", ',', true, true, "eth0", 3, 100, 0},
        {"not a number: kept as it stands", "eth0|x|1|2", ',', false, false, "", 0, 0, 0},
        {"too few fields", "eth0|1|2", ',', false, false, "", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BudgetLine> lines = ReadBudgets(c.line + "\r\n", c.sep);
        ASSERT_EQ(lines.size(), 1u);
        ASSERT_EQ(lines[0].Parsed.has_value(), c.reads);
        if (c.reads) {
            const Budget& b = *lines[0].Parsed;
            EXPECT_EQ(b.Name, c.name);
            EXPECT_EQ(b.BillingDay, c.day);
            EXPECT_EQ(b.MoneyLimit, c.money);
            EXPECT_EQ(b.TrafficLimitMb, c.traffic);
            EXPECT_EQ(b.Active(), c.active);
        }
        if (c.sep == ',' || !c.reads) {
            EXPECT_EQ(BudgetsText(lines, c.sep), c.line + "\r\n") << "written back as read";
        }
    }
    // Blank lines go, a last line without CR LF reads.
    EXPECT_EQ(ReadBudgets("a|1|2|3\r\n\r\nb|4|5|6", ',').size(), 2u);
}

TEST(BillingPeriod, StartsOnTheBillingDayOrTheMonthsLastDay)
{
    const struct {
        Date today;
        int32_t billingDay;
        Date first, last;
    } cases[] = {
        {{2026, 12, 10}, 1, {2026, 12, 1}, {2026, 12, 31}},
        {{2026, 12, 10}, 15, {2026, 11, 15}, {2026, 12, 14}},
        {{2026, 12, 15}, 15, {2026, 12, 15}, {2027, 1, 14}},  // across the year's end
        {{2027, 1, 3}, 15, {2026, 12, 15}, {2027, 1, 14}},
        {{2027, 2, 28}, 29, {2027, 2, 28}, {2027, 3, 28}},    // a common February has no 29th
        {{2027, 2, 27}, 29, {2027, 1, 29}, {2027, 2, 27}},
        {{2028, 2, 28}, 29, {2028, 1, 29}, {2028, 2, 28}},    // a leap year's has
        {{2028, 2, 29}, 29, {2028, 2, 29}, {2028, 3, 28}},
        {{2027, 2, 28}, 30, {2027, 2, 28}, {2027, 3, 29}},
        {{2027, 3, 30}, 30, {2027, 3, 30}, {2027, 4, 29}},
        {{2027, 2, 28}, 31, {2027, 2, 28}, {2027, 3, 30}},
        {{2027, 3, 31}, 31, {2027, 3, 31}, {2027, 4, 29}},    // April's last day is the 30th
        {{2027, 4, 30}, 31, {2027, 4, 30}, {2027, 5, 30}},
        {{2028, 2, 29}, 31, {2028, 2, 29}, {2028, 3, 30}},
        {{2026, 12, 31}, 31, {2026, 12, 31}, {2027, 1, 30}},
    };
    for (const auto& c : cases) {
        const Period p = BillingPeriod(c.today, c.billingDay);
        EXPECT_EQ(p.First, c.first) << c.today.Day << "." << c.today.Month << "." << c.today.Year << " day " << c.billingDay;
        EXPECT_EQ(p.Last, c.last) << c.today.Day << "." << c.today.Month << "." << c.today.Year << " day " << c.billingDay;
    }
    EXPECT_EQ(DateOfDay(DayNumber(Date{2028, 2, 29}) + 1), (Date{2028, 3, 1}));
}

struct UsageFixture : ::testing::Test {
    DayRecordArray history;
    void Add(const char* name, Date date, uint32_t in, uint32_t out)
    {
        DayRecord& r = history.Append(name);
        r.Year = date.Year, r.Month = date.Month, r.Day = date.Day;
        r.InOctets = in, r.OutOctets = out;
    }
};

TEST_F(UsageFixture, TheForecastAndWhatIsLeftPerDay)
{
    const uint32_t mb = 1048576;
    Add("eth0", {2026, 11, 30}, 900 * mb, 0);  // before the period
    Add("eth0", {2026, 12, 1}, 100 * mb, 50 * mb);
    Add("eth0", {2026, 12, 5}, 100 * mb, 50 * mb);
    Add("eth0", {2026, 12, 5}, 50 * mb, 0);  // a second stretch of the day
    Add("ppp0", {2026, 12, 5}, 999 * mb, 0);  // another connection
    Add("eth0", {0, 0, 0}, 999 * mb, 0);       // undated
    const BudgetUsage u = UsageOf(history, "eth0", {2026, 12, 10}, 1, 2.0, 1.0);
    EXPECT_EQ(u.Span.Days(), 31);
    EXPECT_EQ(u.DaysGone, 10);
    EXPECT_EQ(u.DaysLeft, 22);  // today counts as remaining
    EXPECT_DOUBLE_EQ(u.TrafficMb(), 350);
    EXPECT_DOUBLE_EQ(u.Money, 250 * 2.0 + 100 * 1.0);
    EXPECT_DOUBLE_EQ(u.ForecastMb(), 350.0 / 10 * 31);
    EXPECT_DOUBLE_EQ(u.ForecastMoney(), 600.0 / 10 * 31);
    EXPECT_DOUBLE_EQ(u.TrafficLeftPerDayMb(1000), 650.0 / 22);
    EXPECT_DOUBLE_EQ(u.MoneyLeftPerDay(500), 0) << "over the limit: nothing left";
}

TEST_F(UsageFixture, WarningsAt80And100PercentOncePerPeriod)
{
    const uint32_t mb = 1048576;
    Budget b{"eth0", 1, 100, 1000};
    auto tick = [&](Date today) { return NewWarnings(b, UsageOf(history, "eth0", today, 1, 1.0, 0.0)); };

    Add("eth0", {2026, 12, 1}, 70 * mb, 0);
    EXPECT_TRUE(tick({2026, 12, 1}).empty());
    Add("eth0", {2026, 12, 2}, 15 * mb, 0);  // 85 roubles: 80 % of the money limit
    std::vector<BudgetWarning> w = tick({2026, 12, 2});
    ASSERT_EQ(w.size(), 1u);
    EXPECT_TRUE(w[0].Money);
    EXPECT_EQ(w[0].Level, Warned::Near);
    EXPECT_TRUE(tick({2026, 12, 2}).empty()) << "shown once";

    // After a restart: what was shown is read back from the file.
    std::vector<BudgetLine> lines = ReadBudgets(BudgetsText({BudgetLine{b, ""}}, ','), ',');
    ASSERT_TRUE(lines[0].Parsed);
    b = *lines[0].Parsed;
    EXPECT_TRUE(tick({2026, 12, 3}).empty());

    // Past 100 % of money and 80 % and 100 % of traffic in one tick: the highest of each.
    Add("eth0", {2026, 12, 3}, 920 * mb, 0);
    w = tick({2026, 12, 3});
    ASSERT_EQ(w.size(), 2u);
    EXPECT_TRUE(w[0].Money);
    EXPECT_EQ(w[0].Level, Warned::Over);
    EXPECT_FALSE(w[1].Money);
    EXPECT_EQ(w[1].Level, Warned::Over);

    // The next period re-arms both.
    Add("eth0", {2027, 1, 1}, 90 * mb, 0);
    w = tick({2027, 1, 1});
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].Level, Warned::Near);

    // A budget turned off warns of nothing.
    b.BillingDay = 0;
    b.WarnedFrom = {};
    EXPECT_TRUE(tick({2027, 1, 2}).empty());
}

}  // namespace
