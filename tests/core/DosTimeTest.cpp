#include "package/DosTime.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using test::LocalTime;

TEST(DosTime, LocalTimeAtTwoSecondResolution) {
    test::ScopedTimeZone zone("Europe/Moscow");
    struct Case {
        std::time_t time;
        std::optional<std::uint32_t> dos;
    };
    for (auto [time, dos] : {
             Case{LocalTime(2007, 7, 30, 14, 23, 16),
                  (27u << 25 | 7u << 21 | 30u << 16) | (14u << 11 | 23u << 5 | 8u)},
             Case{LocalTime(2007, 7, 30, 14, 23, 17),
                  (27u << 25 | 7u << 21 | 30u << 16) | (14u << 11 | 23u << 5 | 8u)},
             Case{LocalTime(1980, 1, 1, 0, 0, 0), 1u << 21 | 1u << 16},
             Case{LocalTime(1979, 12, 31, 23, 59, 59), std::nullopt},
             Case{LocalTime(2108, 1, 1, 0, 0, 0), std::nullopt},
         }) {
        EXPECT_EQ(DosDateTimeFromUnix(time), dos) << time;
        if (dos) {
            EXPECT_EQ(UnixFromDosDateTime(*dos), time - time % 2);
        }
    }
}
