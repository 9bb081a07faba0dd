#include "mainwindow/commands.h"

#include <algorithm>
#include <stdexcept>

#include "engine/formats.h"
#include "engine/number_format.h"
#include "platform/user_data.h"

const char* const MakerMail = "vornik@example.org";
const char* const MakerSite = "https://vornik.example.org";
const char* const MakerPortal = "https://portal.example.org";

namespace {

// Asks one price; true and `price` set when the user answered a number.
bool AskPrice(const PromptUi& ui, const char* prompt, char decimalSeparator, double& price)
{
    std::string answer;
    if (!ui.Input(prompt, "1,5", answer))
        return false;
    if (!ParseNumber(answer, price, decimalSeparator))
        throw std::runtime_error("'" + UserData(answer) + "' is not a valid floating point value");
    return true;
}

}  // namespace

void SetPricesCommand(TariffArray& tariffs, const std::string& selected, const PromptUi& ui,
                      char decimalSeparator)
{
    int entry = tariffs.Find(selected);
    if (!entry)
        ui.Message("ER");
    double price = 0;
    if (AskPrice(ui, "Введите цену за 1 мб входящего трафика в рублях ", decimalSeparator, price) && entry)
        tariffs[entry].PriceIn = price;

    entry = tariffs.Find(selected);
    if (!entry)
        ui.Message("ER");
    if (AskPrice(ui, "Введите цену за 1 мб исходящего трафика в рублях ", decimalSeparator, price) && entry)
        tariffs[entry].PriceOut = price;
}

void RenameCommand(TariffArray& tariffs, const std::string& selected, const PromptUi& ui)
{
    std::string answer;
    if (!ui.Input("Введите имя для соединения ", "...", answer))
        return;
    answer.erase(std::remove_if(answer.begin(), answer.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }),
                 answer.end());
    if (answer == "..." || answer.empty())
        return;
    if (int entry = tariffs.Find(selected))
        tariffs[entry].Alias = answer;
    else
        ui.Message("Ошиибка доступа к " + UserData(selected));
}

std::string MailAuthorLink()
{
    return std::string("mailto:") + MakerMail + "?subject=" + "User Vornik V1.5" + "&body=" +
           "Здраствуйте уважаемый разработчик Vornik V1.5" + "%0d";
}

namespace {

std::string DateText(const Date& date)
{
    return std::to_string(date.Day / 10) + std::to_string(date.Day % 10) + "." + std::to_string(date.Month / 10) +
           std::to_string(date.Month % 10) + "." + std::to_string(date.Year);
}

std::string Roubles(double value, char sep) { return FormatFixed(value, 2, sep) + " руб."; }
std::string Megabytes(double value, char sep) { return FormatFixed(value, 1, sep) + " Мб"; }

}  // namespace

std::string BudgetSummary(const Budget& budget, const BudgetUsage& usage, char sep)
{
    std::string text = "Период: " + DateText(usage.Span.First) + " - " + DateText(usage.Span.Last) +
                       " (дней осталось, с сегодняшним: " + std::to_string(usage.DaysLeft) + ")\n";
    text += "Трафик за период: " + Megabytes(usage.TrafficMb(), sep) + ", прогноз на период: " +
            Megabytes(usage.ForecastMb(), sep) + "\n";
    text += "Сумма за период: " + Roubles(usage.Money, sep) + ", прогноз на период: " +
            Roubles(usage.ForecastMoney(), sep) + "\n";
    text += "Можно в день до конца периода: ";
    text += budget.TrafficLimitMb > 0 ? Megabytes(usage.TrafficLeftPerDayMb(budget.TrafficLimitMb), sep)
                                      : std::string("трафик без лимита");
    text += ", ";
    text += budget.MoneyLimit > 0 ? Roubles(usage.MoneyLeftPerDay(budget.MoneyLimit), sep)
                                  : std::string("сумма без лимита");
    return text;
}

void BudgetCommand(std::vector<BudgetLine>& budgets, const DayRecordArray& history, const TariffArray& tariffs,
                   const std::string& selected, const Date& today, const PromptUi& ui, char sep)
{
    Budget* stored = nullptr;
    for (BudgetLine& line : budgets)
        if (line.Parsed && line.Parsed->Name == selected)
            stored = &*line.Parsed;
    Budget budget = stored ? *stored : Budget{selected};
    const int entry = tariffs.Find(selected);
    const BudgetUsage usage = UsageOf(history, selected, today, budget.BillingDay, entry ? tariffs[entry].PriceIn : 0,
                                      entry ? tariffs[entry].PriceOut : 0);
    std::vector<ModalField> fields = {
        {"День начала расчётного периода (1-31):", std::to_string(budget.BillingDay)},
        {"Лимит суммы за период, руб. (0 - без лимита):", FormatGeneral(budget.MoneyLimit, sep)},
        {"Лимит трафика за период, Мб (0 - без лимита):", FormatGeneral(budget.TrafficLimitMb, sep)},
    };
    if (!ui.Form("Бюджет соединения " + UserData(DisplayName(tariffs, selected, false)) + "\n\n" +
                     BudgetSummary(budget, usage, sep),
                 fields))
        return;
    double day = 0, money = 0, traffic = 0;
    auto refuse = [&](const std::string& answer, const char* what) {
        ui.Message("'" + UserData(answer) + "' - " + what + ". Бюджет не изменён.");
    };
    if (!ParseNumber(fields[0].Value, day, sep) || day != static_cast<int>(day) || day < 1 || day > 31)
        return refuse(fields[0].Value, "не день месяца (от 1 до 31)");
    if (!ParseNumber(fields[1].Value, money, sep) || money < 0)
        return refuse(fields[1].Value, "не сумма в рублях (0 или больше)");
    if (!ParseNumber(fields[2].Value, traffic, sep) || traffic < 0)
        return refuse(fields[2].Value, "не число мегабайт (0 или больше)");
    if (budget.BillingDay != static_cast<int32_t>(day) || budget.MoneyLimit != money || budget.TrafficLimitMb != traffic) {
        budget.BillingDay = static_cast<int32_t>(day);
        budget.MoneyLimit = money;
        budget.TrafficLimitMb = traffic;
        budget.WarnedFrom = Date{};  // warned afresh for the new limits
        budget.MoneyWarned = budget.TrafficWarned = Warned::None;
    }
    if (stored)
        *stored = budget;
    else
        budgets.push_back(BudgetLine{budget, ""});
}

BalloonText BudgetWarningText(const BudgetWarning& warning, const Budget& budget, const BudgetUsage& usage,
                              const std::string& displayName, char sep)
{
    BalloonText balloon;
    balloon.Title = (warning.Level == Warned::Over ? "Лимит исчерпан: " : "80 % лимита: ") + UserData(displayName);
    const std::string figures = warning.Money ? Roubles(usage.Money, sep) + " из " + Roubles(budget.MoneyLimit, sep)
                                              : Megabytes(usage.TrafficMb(), sep) + " из " +
                                                    Megabytes(budget.TrafficLimitMb, sep);
    balloon.Text = std::string(warning.Money ? "Сумма" : "Трафик") + " за период " + DateText(usage.Span.First) +
                   " - " + DateText(usage.Span.Last) + ": " + figures;
    return balloon;
}
