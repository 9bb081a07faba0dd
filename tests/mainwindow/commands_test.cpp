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
        ScriptedUi ui{c.answers, {}, {}};
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
    ScriptedUi ui{{"1", "2"}, {}, {}};
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
        ScriptedUi ui{{c.answer}, {}, {}};
        RenameCommand(tariffs, "eth0", ui.Ui());
        EXPECT_EQ(tariffs[1].Alias, c.alias) << c.answer.value_or("<cancel>");
        EXPECT_EQ(ui.prompts, std::vector<std::string>{"Введите имя для соединения "});
    }
    TariffArray empty;
    ScriptedUi ui{{"new"}, {}, {}};
    RenameCommand(empty, "eth0", ui.Ui());
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Ошиибка доступа к " + UserData("eth0")});
}

TEST(MailAuthorLink, IsTheMailtoTextAsTheShellGetsIt)
{
    EXPECT_EQ(MailAuthorLink(), "mailto:vornik@example.org?subject=User Vornik V1.5&body=Здраствуйте уважаемый "
                                "разработчик Vornik V1.5%0d");
}

}  // namespace
