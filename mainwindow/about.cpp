#include "mainwindow/about.h"

#include <string>

#include "mainwindow/commands.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"

namespace {
const COLORREF BoxColor = RGB(246, 246, 246);
const COLORREF Navy = RGB(0, 0, 128);
const char* const AuthorName = "Kestrane";
const char* const AuthorTown = "г. Вологда, 2026";
}  // namespace

TForm3::~TForm3()
{
    if (Handle())
        DestroyWindow(Handle());
    DeleteObject(background_);
}

HWND TForm3::Label(const char* text, int x, int y, int width, HFONT font, UINT id, DWORD style)
{
    HWND label = CreateWindowExW(0, L"STATIC", ProgramText(text).c_str(), WS_CHILD | WS_VISIBLE | style, Scaled(x),
                                 Scaled(y), Scaled(width), Scaled(16), Handle(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ModuleInstance(), nullptr);
    SetFont(label, font);
    return label;
}

void TForm3::Create(HICON icon)
{
    CreateHidden(L"TForm3", "Об авторе", 294, 129, BoxColor);
    background_ = CreateSolidBrush(BoxColor);
    HFONT boxFont = Font(11, false, InterfaceFace);
    HFONT titleFont = Font(19, true, L"Times New Roman");
    HFONT boldFont = Font(13, true, L"Times New Roman");

    HWND picture = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, Scaled(8),
                                   Scaled(8), Scaled(32), Scaled(32), Handle(), nullptr, ModuleInstance(), nullptr);
    SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    Label("VORNIK V1.5", 48, 8, 200, titleFont);
    Label("Реализовал:", 56, 40, 70, boxFont);
    Label(AuthorName, 128, 40, 160, boldFont);
    Label("офицальный сайт", 32, 64, 94, boxFont);
    link_ = Label(MakerSite + 8, 128, 64, 160, boldFont, IdSiteLink, SS_LEFT | SS_NOTIFY);  // shown without "https://"
    Label("e-mail:", 88, 88, 40, boxFont);
    Label(MakerMail, 128, 88, 160, boldFont);
    Label(AuthorTown, 0, 110, 294, boxFont, 0, SS_CENTER);
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
