#include "platform/system_win.h"

#include <windows.h>

#include "platform/text_win.h"

Date Win32Clock::Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return Date{now.wYear, now.wMonth, now.wDay};
}

uint64_t Win32Clock::Milliseconds() { return GetTickCount64(); }

char Win32Regional::DecimalSeparator()
{
    // Up to three characters, and the terminating zero, as GetLocaleInfo documents.
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) == 0)
        return '.';
    return UsableDecimalSeparator(text[0], wcslen(text));
}

std::string Win32Regional::ShortDate(const Date& date)
{
    SYSTEMTIME st{};
    st.wYear = date.Year;
    st.wMonth = date.Month;
    st.wDay = date.Day;
    wchar_t text[80] = {};
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, 80) == 0)
        return std::to_string(date.Day) + '.' + std::to_string(date.Month) + '.' + std::to_string(date.Year);
    return FromUserText(text);
}

char Win32Regional::ListSeparator()
{
    // One plain character, or ";" (a longer or unusual one would not read back in a spreadsheet).
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, text, 8) == 0 || wcslen(text) != 1 || text[0] <= L' ' ||
        text[0] >= 127 || text[0] == L'"')
        return ';';
    return static_cast<char>(text[0]);
}
