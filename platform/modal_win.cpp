#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/dpi_win.h"
#include "platform/modal.h"
#include "platform/text_win.h"

namespace {

// An input box as a dialog template built in memory: a prompt, an edit field, OK and Cancel.
class DialogTemplate {
public:
    DialogTemplate(const std::wstring& caption, short width, short height)
    {
        Align(4);
        DLGTEMPLATE t{};
        t.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        t.cx = width;
        t.cy = height;
        Add(&t, sizeof t);
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        Text(caption);
        Word(8);
        Text(InterfaceFace);
    }
    void Item(WORD id, WORD controlClass, DWORD style, short x, short y, short cx, short cy, const std::wstring& text)
    {
        Align(4);
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x, item.y = y, item.cx = cx, item.cy = cy, item.id = id;
        Add(&item, sizeof item);
        Word(0xFFFF);
        Word(controlClass);
        Text(text);
        Word(0);
        ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void Add(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const unsigned char*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
    }
    void Word(WORD w) { Add(&w, sizeof w); }
    void Text(const std::wstring& s) { Add(s.c_str(), (s.size() + 1) * sizeof(wchar_t)); }
    void Align(std::size_t n)
    {
        while (bytes_.size() % n)
            bytes_.push_back(0);
    }
    std::vector<unsigned char> bytes_;
};

const WORD IdEdit = 100;
const WORD ButtonClass = 0x0080, EditClass = 0x0081, StaticClass = 0x0082;

// Fills the edit fields IdEdit, IdEdit + 1, ... from the box's fields and, on OK, back.
INT_PTR CALLBACK FormBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* box = reinterpret_cast<ModalBox*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        box = reinterpret_cast<ModalBox*>(lParam);
        for (std::size_t i = 0; i < box->Fields.size(); ++i)
            SetDlgItemTextW(dialog, static_cast<int>(IdEdit + i), UserText(box->Fields[i].Value).c_str());
        SendDlgItemMessageW(dialog, IdEdit, EM_SETSEL, 0, -1);
        SetForegroundWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            for (std::size_t i = 0; i < box->Fields.size(); ++i) {
                wchar_t text[1024] = {};
                GetDlgItemTextW(dialog, static_cast<int>(IdEdit + i), text, 1024);
                box->Fields[i].Value = FromUserText(text);
            }
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

bool InputBox(ModalBox& box)
{
    DialogTemplate t(ProgramText(box.Caption), 200, 62);
    t.Item(0xFFFF, StaticClass, SS_LEFT, 6, 6, 188, 10, BoxText(box.Text));
    t.Item(IdEdit, EditClass, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 20, 188, 12, L"");
    t.Item(IDOK, ButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 88, 40, 50, 14, L"OK");
    t.Item(IDCANCEL, ButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 144, 40, 50, 14, ProgramText("Отмена"));
    // Its one edit field is a form's first.
    ModalBox form = box;
    form.Fields = {ModalField{box.Text, box.Value}};
    if (DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), GetActiveWindow(), FormBoxProc,
                                reinterpret_cast<LPARAM>(&form)) != IDOK)
        return false;
    box.Value = form.Fields[0].Value;
    return true;
}

// A form: the text (as many lines as it has) over labelled edit fields, OK and Cancel.
bool FormBox(ModalBox& box)
{
    const short lines = static_cast<short>(1 + std::count(box.Text.begin(), box.Text.end(), '\n'));
    const short textHeight = static_cast<short>(10 * lines);
    const short fieldsTop = static_cast<short>(6 + textHeight + 6);
    const short buttonsTop = static_cast<short>(fieldsTop + 16 * static_cast<short>(box.Fields.size()) + 4);
    DialogTemplate t(ProgramText(box.Caption), 280, static_cast<short>(buttonsTop + 20));
    t.Item(0xFFFF, StaticClass, SS_LEFT | SS_NOPREFIX, 6, 6, 268, textHeight, BoxText(box.Text));
    for (std::size_t i = 0; i < box.Fields.size(); ++i) {
        const short y = static_cast<short>(fieldsTop + 16 * static_cast<short>(i));
        t.Item(0xFFFF, StaticClass, SS_LEFT, 6, static_cast<short>(y + 2), 190, 10, ProgramText(box.Fields[i].Label));
        t.Item(static_cast<WORD>(IdEdit + i), EditClass, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 200, y, 74, 12, L"");
    }
    t.Item(IDOK, ButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 168, buttonsTop, 50, 14, L"OK");
    t.Item(IDCANCEL, ButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 224, buttonsTop, 50, 14, ProgramText("Отмена"));
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), GetActiveWindow(), FormBoxProc,
                                   reinterpret_cast<LPARAM>(&box)) == IDOK;
}

}  // namespace

bool ShowSystemModal(ModalBox& box)
{
    if (box.Kind == ModalKind::Input)
        return InputBox(box);
    if (box.Kind == ModalKind::Form)
        return FormBox(box);
    UINT flags = MB_SETFOREGROUND | MB_TASKMODAL;
    switch (box.Kind) {
    case ModalKind::Plain: flags |= MB_OK; break;
    case ModalKind::Information: flags |= MB_OK | MB_ICONINFORMATION; break;
    case ModalKind::Exclamation: flags |= MB_OK | MB_ICONEXCLAMATION; break;
    case ModalKind::Error: flags |= MB_OK | MB_ICONERROR; break;
    case ModalKind::YesNo: flags |= MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2; break;
    case ModalKind::Input:
    case ModalKind::Form: break;
    }
    int answer = MessageBoxW(nullptr, BoxText(box.Text).c_str(), ProgramText(box.Caption).c_str(), flags);
    return answer == IDOK || answer == IDYES;
}
