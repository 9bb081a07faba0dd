#pragma once
#include "platform/clock.h"
#include "platform/regional.h"

class Win32Clock : public Clock {
public:
    Date Today() override;
    uint64_t Milliseconds() override;
};

class Win32Regional : public Regional {
public:
    char DecimalSeparator() override;
    std::string ShortDate(const Date& date) override;
    char ListSeparator() override;
};
