#pragma once
// The user's regional settings, as far as the program uses them.
#include <string>

#include "platform/clock.h"

class Regional {
public:
    virtual ~Regional() = default;
    virtual char DecimalSeparator() = 0;
    virtual std::string ShortDate(const Date& date) = 0;  // e.g. 06.12.2026 or 12/6/2026
};
