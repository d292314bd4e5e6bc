#pragma once
// The clock as the program writes it: UTC, plain decimal numbers without leading zeros.

#include <ctime>
#include <string>

struct UtcTime {
    unsigned year, month, day, hour, minute, second;
};

UtcTime UtcTimeFromUnix(std::time_t time);
UtcTime ReadUtcClock();

/// "year-month-day" without leading zeros: 5 March 2008 gives "2008-3-5".
std::string DefaultPublicationDate(const UtcTime& time);
