#include "platform/modal.h"

const char* const ApplicationTitle = "Vornik V1.5";

namespace {
ModalFunction& Replacement()
{
    static ModalFunction function;
    return function;
}
}  // namespace

bool ShowSystemModal(const ModalBox& box);  // the platform's own boxes

bool ShowModal(const ModalBox& box)
{
    if (Replacement())
        return Replacement()(box);
    return ShowSystemModal(box);
}

void SetModalFunction(ModalFunction function) { Replacement() = std::move(function); }

void ShowErrorBox(const std::string& text) { ShowModal({ModalKind::Error, ApplicationTitle, text}); }
