#pragma once
// The texts of boxes and errors are the program's own (Windows-1251) but may carry user data:
// a connection's name, an alias, a typed answer, a path, a system message. Those are in the
// system's ANSI code page, which on a Western or Chinese Windows is not 1251, so each such run
// is marked (shift out ... shift in, bytes no code page uses inside a character) and the box
// converts it by its own code page.
#include <string>
#include <string_view>

constexpr char UserDataBegin = '\x0E';
constexpr char UserDataEnd = '\x0F';

inline std::string UserData(std::string_view ansi)
{
    std::string out(1, UserDataBegin);
    for (char c : ansi)
        if (c != UserDataBegin && c != UserDataEnd)
            out += c;
    return out += UserDataEnd;
}
