#include "package/DosTime.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::time_t Local(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

} // namespace

TEST(DosTime, LocalTimeAtTwoSecondResolution) {
    test::ScopedTimeZone zone("Europe/Moscow");
    struct Case {
        std::time_t time;
        std::optional<std::uint32_t> dos;
    };
    for (auto [time, dos] : {
             Case{Local(2007, 7, 30, 14, 23, 16),
                  (27u << 25 | 7u << 21 | 30u << 16) | (14u << 11 | 23u << 5 | 8u)},
             Case{Local(2007, 7, 30, 14, 23, 17),
                  (27u << 25 | 7u << 21 | 30u << 16) | (14u << 11 | 23u << 5 | 8u)},
             Case{Local(1980, 1, 1, 0, 0, 0), 1u << 21 | 1u << 16},
             Case{Local(1979, 12, 31, 23, 59, 59), std::nullopt},
             Case{Local(2108, 1, 1, 0, 0, 0), std::nullopt},
         }) {
        EXPECT_EQ(DosDateTimeFromUnix(time), dos) << time;
        if (dos) {
            EXPECT_EQ(UnixFromDosDateTime(*dos), time - time % 2);
        }
    }
}
