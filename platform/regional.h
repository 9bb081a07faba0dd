#pragma once
// The user's regional settings, as far as the program uses them.
#include <cstddef>
#include <string>

#include "platform/clock.h"

// The decimal separator the program writes and reads for the regional one (`length`
// characters from `first` on): itself when it is one plain character that cannot be taken
// for part of a number or of the tariff file's syntax, "." otherwise.
inline char UsableDecimalSeparator(unsigned first, std::size_t length)
{
    const bool plain = length == 1 && first > ' ' && first < 127 && !(first >= '0' && first <= '9');
    if (!plain)
        return '.';
    for (char taken : {'+', '-', 'e', 'E', '|', '>', '@'})
        if (first == static_cast<unsigned>(taken))
            return '.';
    return static_cast<char>(first);
}

class Regional {
public:
    virtual ~Regional() = default;
    virtual char DecimalSeparator() = 0;
    virtual std::string ShortDate(const Date& date) = 0;  // e.g. 06.12.2026 or 12/6/2026
    virtual char ListSeparator() = 0;  // between the fields of a spreadsheet's line, e.g. ";"
};
