#pragma once
// Every modal box of the program goes through ShowModal, so tests can answer it instead
// of a person (SetModalFunction). Texts are the program's narrow text (Windows-1251).
#include <functional>
#include <string>

extern const char* const ApplicationTitle;  // "Vornik V1.5": the caption of the program's boxes

enum class ModalKind {
    Information,  // OK
    Exclamation,  // OK
    Error,        // OK
    YesNo,        // returns true for Yes
};

struct ModalBox {
    ModalKind Kind = ModalKind::Information;
    std::string Caption;
    std::string Text;
};

using ModalFunction = std::function<bool(const ModalBox&)>;

// Shows the box and waits for the answer: true for OK or Yes.
bool ShowModal(const ModalBox& box);
// Replaces the function that shows boxes; an empty function restores the real one.
void SetModalFunction(ModalFunction function);

// The application's error box: the title as caption, the error's text.
void ShowErrorBox(const std::string& text);
