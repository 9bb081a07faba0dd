#include "mainwindow/commands.h"
#include "platform/user_data.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

namespace {

// Answers the prompts from a script; nullopt cancels.
struct ScriptedUi {
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> messages, prompts;
    std::vector<ModalField> shownFields;  // as the form showed them
    PromptUi Ui()
    {
        return {[this](const std::string& text) { messages.push_back(text); },
                [this](const std::string& prompt, const std::string&, std::string& answer) {
                    prompts.push_back(prompt);
                    std::optional<std::string> next = answers.front();
                    answers.pop_front();
                    if (next)
                        answer = *next;
                    return next.has_value();
                },
                [this](const std::string& text, std::vector<ModalField>& fields) {
                    prompts.push_back(text);
                    shownFields = fields;
                    for (ModalField& field : fields) {
                        std::optional<std::string> next = answers.front();
                        answers.pop_front();
                        if (!next)
                            return false;
                        field.Value = *next;
                    }
                    return true;
                }};
    }
};

TEST(SetPricesCommand, AnswersCancelsAndErrors)
{
    struct Case {
        const char* what;
        std::deque<std::optional<std::string>> answers;
        double in, out;
        bool throws;
        std::size_t prompts;
    };
    const Case cases[] = {
        {"both answered", {"2,5", "0.75"}, 2.5, 0.75, false, 2},
        {"with the regional separator", {"2;5", "1"}, 2.5, 1, false, 2},
        {"cancel keeps the price", {std::nullopt, "3"}, 9, 3, false, 2},
        {"first not a number", {"abc"}, 9, 9, true, 1},
        {"second not a number", {"1,5", "x"}, 1.5, 9, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TariffArray tariffs;
        int i = tariffs.Add("eth0", "LAN");
        tariffs[i].PriceIn = tariffs[i].PriceOut = 9;
        ScriptedUi ui{c.answers, {}, {}, {}};
        if (c.throws) {
            try {
                SetPricesCommand(tariffs, "eth0", ui.Ui(), ';');
                ADD_FAILURE() << "no error";
            } catch (const std::runtime_error& e) {
                EXPECT_EQ(std::string(e.what()).find("' is not a valid floating point value"), c.answers.back()->size() + 3);
            }
        } else {
            SetPricesCommand(tariffs, "eth0", ui.Ui(), ';');
        }
        EXPECT_EQ(tariffs[i].PriceIn, c.in);
        EXPECT_EQ(tariffs[i].PriceOut, c.out);
        EXPECT_EQ(ui.prompts.size(), c.prompts);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST(SetPricesCommand, WithoutAnEntrySaysErBeforeEachPromptAndStoresNothing)
{
    TariffArray tariffs;
    ScriptedUi ui{{"1", "2"}, {}, {}, {}};
    SetPricesCommand(tariffs, "eth0", ui.Ui(), ';');
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"ER", "ER"}));
    EXPECT_EQ(ui.prompts, (std::vector<std::string>{"Введите цену за 1 мб входящего трафика в рублях ",
                                                    "Введите цену за 1 мб исходящего трафика в рублях "}));
    EXPECT_EQ(tariffs.TariffCount(), 0);
}

TEST(RenameCommand, Cases)
{
    struct Case {
        std::optional<std::string> answer;
        const char* alias;
    };
    const Case cases[] = {
        {"Мой модем", "Мой модем"},
        {"a\tb\r\nc", "abc"},
        {"...", "LAN"},
        {"", "LAN"},
        {std::nullopt, "LAN"},
        {"\t", "LAN"},
    };
    for (const Case& c : cases) {
        TariffArray tariffs;
        tariffs.Add("eth0", "LAN");
        ScriptedUi ui{{c.answer}, {}, {}, {}};
        RenameCommand(tariffs, "eth0", ui.Ui());
        EXPECT_EQ(tariffs[1].Alias, c.alias) << c.answer.value_or("<cancel>");
        EXPECT_EQ(ui.prompts, std::vector<std::string>{"Введите имя для соединения "});
    }
    TariffArray empty;
    ScriptedUi ui{{"new"}, {}, {}, {}};
    RenameCommand(empty, "eth0", ui.Ui());
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Ошиибка доступа к " + UserData("eth0")});
}

TEST(MailAuthorLink, IsTheMailtoTextAsTheShellGetsIt)
{
    EXPECT_EQ(MailAuthorLink(), "mailto:vornik@example.org?subject=User Vornik V1.5&body=Здраствуйте уважаемый "
                                "разработчик Vornik V1.5%0d");
}

}  // namespace

namespace {

TEST(BudgetCommand, StoresCancelsAndRefusesABadValue)
{
    DayRecordArray history;
    DayRecord& r = history.Append("eth0");
    r.Year = 2026, r.Month = 12, r.Day = 5, r.InOctets = 100 * 1048576;
    TariffArray tariffs;
    tariffs[tariffs.Add("eth0", "Дом")].PriceIn = 2;
    const Date today{2026, 12, 10};
    struct Case {
        const char* what;
        std::deque<std::optional<std::string>> answers;
        bool stored;
        int32_t day;
        double money, traffic;
        bool refused;
    };
    const Case cases[] = {
        {"stored", {"15", "500,5", "2048"}, true, 15, 500.5, 2048, false},
        {"cancelled", {std::nullopt}, false, 0, 0, 0, false},
        {"a day out of the month", {"32", "1", "1"}, false, 0, 0, 0, true},
        {"not a number", {"1", "много", "1"}, false, 0, 0, 0, true},
        {"a negative limit", {"1", "1", "-1"}, false, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BudgetLine> budgets;
        ScriptedUi ui;
        ui.answers = c.answers;
        BudgetCommand(budgets, history, tariffs, "eth0", today, ui.Ui(), ',');
        ASSERT_EQ(budgets.size(), c.stored ? 1u : 0u);
        if (c.stored) {
            EXPECT_EQ(budgets[0].Parsed->BillingDay, c.day);
            EXPECT_EQ(budgets[0].Parsed->MoneyLimit, c.money);
            EXPECT_EQ(budgets[0].Parsed->TrafficLimitMb, c.traffic);
        }
        EXPECT_EQ(ui.messages.size(), c.refused ? 1u : 0u);
        ASSERT_EQ(ui.shownFields.size(), 3u);
        EXPECT_EQ(ui.shownFields[0].Value, "1") << "a connection without a budget starts from the 1st";
        ASSERT_EQ(ui.prompts.size(), 1u);
        EXPECT_NE(ui.prompts[0].find("Бюджет соединения " + UserData("Дом")), std::string::npos);
        EXPECT_NE(ui.prompts[0].find("Период: 01.12.2026 - 31.12.2026 (дней осталось, с сегодняшним: 22)"),
                  std::string::npos);
        EXPECT_NE(ui.prompts[0].find("Сумма за период: 200,00 руб., прогноз на период: 620,00 руб."), std::string::npos);
    }

    // A changed limit forgets what was warned of; the same values keep it.
    std::vector<BudgetLine> budgets = ReadBudgets("eth0|1|100|0|2026-12-01|80|0\r\n", ',');
    ScriptedUi same;
    same.answers = {"1", "100", "0"};
    BudgetCommand(budgets, history, tariffs, "eth0", today, same.Ui(), ',');
    EXPECT_EQ(budgets[0].Parsed->MoneyWarned, Warned::Near);
    ScriptedUi raised;
    raised.answers = {"1", "300", "0"};
    BudgetCommand(budgets, history, tariffs, "eth0", today, raised.Ui(), ',');
    EXPECT_EQ(budgets[0].Parsed->MoneyWarned, Warned::None);
}

TEST(BudgetWarningText, NamesTheConnectionTheLimitAndTheFigures)
{
    Budget b{"eth0", 1, 100, 1024};
    BudgetUsage u;
    u.Span = {{2026, 12, 1}, {2026, 12, 31}};
    u.InOctets = 900ull * 1048576;
    u.Money = 85;
    BalloonText money = BudgetWarningText({true, Warned::Near}, b, u, "Дом", ',');
    EXPECT_EQ(money.Title, "80 % лимита: " + UserData("Дом"));
    EXPECT_EQ(money.Text, "Сумма за период 01.12.2026 - 31.12.2026: 85,00 руб. из 100,00 руб.");
    BalloonText traffic = BudgetWarningText({false, Warned::Over}, b, u, "Дом", ',');
    EXPECT_EQ(traffic.Title, "Лимит исчерпан: " + UserData("Дом"));
    EXPECT_EQ(traffic.Text, "Трафик за период 01.12.2026 - 31.12.2026: 900,0 Мб из 1024,0 Мб");
}

}  // namespace
