#pragma once
#include <cstdint>

struct Date {
    uint16_t Year = 0;
    uint16_t Month = 0;
    uint16_t Day = 0;
    bool operator==(const Date& o) const { return Year == o.Year && Month == o.Month && Day == o.Day; }
    bool operator!=(const Date& o) const { return !(*this == o); }
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual Date Today() = 0;          // the local date
    virtual uint64_t Milliseconds() = 0;  // a monotonic count, for intervals
};
