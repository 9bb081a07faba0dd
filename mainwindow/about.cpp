#include "mainwindow/about.h"

#include <string>

#include "mainwindow/commands.h"
#include "platform/text_win.h"

namespace {
const COLORREF BoxColor = RGB(246, 246, 246);
const COLORREF Navy = RGB(0, 0, 128);
const char* const AuthorName = "Kestrane";
const char* const AuthorTown = "г. Вологда, 2026";

HFONT Font(int height, bool bold, const wchar_t* face)
{
    return CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}
}  // namespace

TForm3::~TForm3()
{
    if (Handle())
        DestroyWindow(Handle());
    DeleteObject(boxFont_);
    DeleteObject(titleFont_);
    DeleteObject(boldFont_);
    DeleteObject(background_);
}

HWND TForm3::Label(const char* text, int x, int y, int width, HFONT font, UINT id, DWORD style)
{
    HWND label = CreateWindowExW(0, L"STATIC", ProgramText(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, 16,
                                 Handle(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ModuleInstance(), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

void TForm3::Create(HICON icon)
{
    CreateHidden(L"TForm3", "Об авторе", 294, 129, BoxColor);
    background_ = CreateSolidBrush(BoxColor);
    boxFont_ = Font(11, false, L"MS Sans Serif");
    titleFont_ = Font(19, true, L"Times New Roman");
    boldFont_ = Font(13, true, L"Times New Roman");

    HWND picture = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, 8, 8, 32, 32, Handle(),
                                   nullptr, ModuleInstance(), nullptr);
    SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    Label("VORNIK V1.5", 48, 8, 200, titleFont_);
    Label("Реализовал:", 56, 40, 70, boxFont_);
    Label(AuthorName, 128, 40, 160, boldFont_);
    Label("офицальный сайт", 32, 64, 94, boxFont_);
    link_ = Label(MakerSite + 8, 128, 64, 160, boldFont_, IdSiteLink, SS_LEFT | SS_NOTIFY);  // shown without "https://"
    Label("e-mail:", 88, 88, 40, boxFont_);
    Label(MakerMail, 128, 88, 160, boldFont_);
    Label(AuthorTown, 0, 110, 294, boxFont_, 0, SS_CENTER);
}

void TForm3::StaticText7Click() { shell_.Open(L"", ProgramText(MakerSite), SW_SHOWNORMAL); }

LRESULT TForm3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            Hide();  // FormDeactivate
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, BoxColor);
        SetTextColor(dc, reinterpret_cast<HWND>(lParam) == link_ ? Navy : GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(background_);
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IdSiteLink && HIWORD(wParam) == STN_CLICKED)
            StaticText7Click();
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == link_) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
            return TRUE;
        }
        break;
    }
    return HiddenWindow::HandleMessage(message, wParam, lParam);
}
