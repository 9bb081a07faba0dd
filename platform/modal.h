#pragma once
// Every modal box of the program goes through ShowModal, so tests can answer it instead
// of a person (SetModalFunction). Texts are the program's narrow text (Windows-1251).
#include <functional>
#include <string>
#include <vector>

extern const char* const ApplicationTitle;  // "Vornik V1.5": the caption of the program's boxes

enum class ModalKind {
    Plain,        // OK, no icon
    Information,  // OK
    Exclamation,  // OK
    Error,        // OK
    YesNo,        // returns true for Yes
    Input,        // a prompt and an edit field: true for OK, with the answer in Value
    Form,         // a text and a few labelled edit fields: true for OK, with the answers in Fields
};

struct ModalField {
    std::string Label;  // the program's text
    std::string Value;  // user text: the default in, the answer out
};

struct ModalBox {
    ModalKind Kind = ModalKind::Information;
    std::string Caption;
    std::string Text;
    std::string Value;  // Input: the default text in, the answer out (user text)
    std::vector<ModalField> Fields;  // Form
};

using ModalFunction = std::function<bool(ModalBox&)>;

// Shows the box and waits for the answer: true for OK or Yes.
bool ShowModal(ModalBox& box);
bool ShowModal(ModalBox&& box);
// Replaces the function that shows boxes; an empty function restores the real one.
void SetModalFunction(ModalFunction function);

// A box captioned with the application title.
bool ShowMessageBox(ModalKind kind, const std::string& text);
// The application's error box: the title as caption, the error's text.
void ShowErrorBox(const std::string& text);
