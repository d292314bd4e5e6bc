#include "StartTime.h"

UtcTime UtcTimeFromUnix(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    return UtcTime{
        static_cast<unsigned>(parts.tm_year + 1900), static_cast<unsigned>(parts.tm_mon + 1),
        static_cast<unsigned>(parts.tm_mday),        static_cast<unsigned>(parts.tm_hour),
        static_cast<unsigned>(parts.tm_min),         static_cast<unsigned>(parts.tm_sec)};
}

UtcTime ReadUtcClock() {
    return UtcTimeFromUnix(std::time(nullptr));
}

std::string DefaultPublicationDate(const UtcTime& time) {
    return std::to_string(time.year) + "-" + std::to_string(time.month) + "-" +
           std::to_string(time.day);
}
