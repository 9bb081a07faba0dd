#pragma once
// Narrow text crosses into the W functions here. The program's own texts are Windows-1251;
// connection names, aliases and other user data are in the system's ANSI code page.
#include <string>
#include <string_view>

constexpr unsigned ProgramCodePage = 1251;

std::wstring Widen(std::string_view text, unsigned codePage);
std::string Narrow(std::wstring_view text, unsigned codePage);
inline std::wstring ProgramText(std::string_view text) { return Widen(text, ProgramCodePage); }
std::wstring UserText(std::string_view text);  // CP_ACP
std::string FromUserText(std::wstring_view text);
// The characters (code points) of a text.
std::u32string CodePoints(std::wstring_view text);
// The first `count` characters of user text, never half of a double-byte one.
std::string FirstUserCharacters(std::string_view text, std::size_t count);
// A box's text: the program's, with the runs marked by UserData in the ANSI code page.
std::wstring BoxText(std::string_view text);

// The system's text for an error code, marked as user data (it is in the system's language).
std::string SystemErrorText(unsigned long code);
