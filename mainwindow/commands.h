#pragma once
// The main window's popup commands on the selected connection, over the program's boxes.
#include <functional>
#include <string>

#include "engine/day_records.h"

struct PromptUi {
    std::function<void(const std::string& text)> Message;
    // Asks with an input box; false when the user cancels.
    std::function<bool(const std::string& prompt, const std::string& defaultText, std::string& answer)> Input;
};

// "Задать цену": the inbound then the outbound price per megabyte. A cancelled prompt leaves
// its price as it was; an answer that is no number ends the command with an error.
void SetPricesCommand(TariffArray& tariffs, const std::string& selected, const PromptUi& ui,
                      char decimalSeparator);
// "Переименовать": the alias. TAB, CR and LF are taken out, so the tariff file keeps its lines.
void RenameCommand(TariffArray& tariffs, const std::string& selected, const PromptUi& ui);

// The mail link of "Написать автору", in the program's text.
std::string MailAuthorLink();
extern const char* const MakerMail;
extern const char* const MakerSite;
extern const char* const MakerPortal;
