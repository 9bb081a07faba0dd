#include "platform/modal.h"

const char* const ApplicationTitle = "Vornik V1.5";

namespace {
ModalFunction& Replacement()
{
    static ModalFunction function;
    return function;
}
}  // namespace

bool ShowSystemModal(ModalBox& box);  // the platform's own boxes

bool ShowModal(ModalBox& box)
{
    if (Replacement())
        return Replacement()(box);
    return ShowSystemModal(box);
}

bool ShowModal(ModalBox&& box) { return ShowModal(box); }

void SetModalFunction(ModalFunction function) { Replacement() = std::move(function); }

bool ShowMessageBox(ModalKind kind, const std::string& text)
{
    ModalBox box;
    box.Kind = kind;
    box.Caption = ApplicationTitle;
    box.Text = text;
    return ShowModal(box);
}

void ShowErrorBox(const std::string& text) { ShowMessageBox(ModalKind::Error, text); }
