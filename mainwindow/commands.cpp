#include "mainwindow/commands.h"

#include <algorithm>
#include <stdexcept>

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
