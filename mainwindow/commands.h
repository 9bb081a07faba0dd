#pragma once
// The main window's popup commands on the selected connection, over the program's boxes.
#include <functional>
#include <string>

#include "engine/budget.h"
#include "engine/day_records.h"
#include "platform/modal.h"

struct PromptUi {
    std::function<void(const std::string& text)> Message;
    // Asks with an input box; false when the user cancels.
    std::function<bool(const std::string& prompt, const std::string& defaultText, std::string& answer)> Input;
    // Asks with a form of fields under a text; false when the user cancels.
    std::function<bool(const std::string& text, std::vector<ModalField>& fields)> Form;
};

// "Задать цену": the inbound then the outbound price per megabyte. A cancelled prompt leaves
// its price as it was; an answer that is no number ends the command with an error.
void SetPricesCommand(TariffArray& tariffs, const std::string& selected, const PromptUi& ui,
                      char decimalSeparator);
// "Переименовать": the alias. TAB, CR and LF are taken out, so the tariff file keeps its lines.
void RenameCommand(TariffArray& tariffs, const std::string& selected, const PromptUi& ui);

// "Бюджет": the selected connection's billing day and limits, under its period's figures.
// OK stores them (a new budget line when it had none; what was warned of is forgotten when a
// value changed); Cancel or a value that does not read stores nothing (the latter says so).
void BudgetCommand(std::vector<BudgetLine>& budgets, const DayRecordArray& history, const TariffArray& tariffs,
                   const std::string& selected, const Date& today, const PromptUi& ui, char decimalSeparator);
// The text above the fields: the period, its figures so far, the forecast and what is left per day.
std::string BudgetSummary(const Budget& budget, const BudgetUsage& usage, char decimalSeparator);

// A tray balloon for a warning: its title and text (program text, the name marked as user data).
struct BalloonText {
    std::string Title, Text;
};
BalloonText BudgetWarningText(const BudgetWarning& warning, const Budget& budget, const BudgetUsage& usage,
                              const std::string& displayName, char decimalSeparator);

// The mail link of "Написать автору", in the program's text.
std::string MailAuthorLink();
extern const char* const MakerMail;
extern const char* const MakerSite;
extern const char* const MakerPortal;
