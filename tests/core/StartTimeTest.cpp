#include "app/StartTime.h"

#include "TestSupport.h"
#include "app/ActivityLog.h"

#include <gtest/gtest.h>

TEST(StartTime, PublicationDateHasNoLeadingZeros) {
    struct Case {
        UtcTime time;
        const char* date;
    };
    for (auto [time, date] :
         {Case{{2008, 3, 5, 7, 4, 9}, "2008-3-5"}, Case{{2026, 12, 31, 23, 59, 59}, "2026-12-31"},
          Case{{2010, 10, 1, 0, 0, 0}, "2010-10-1"}})
        EXPECT_EQ(DefaultPublicationDate(time), date);
}

TEST(StartTime, TakenInUtcNotLocalTime) {
    // 00:30 on 1 January 2008 in a zone three hours ahead of UTC is still 2007 in UTC.
    test::ScopedTimeZone zone("<+03>-3");
    std::tm local{};
    local.tm_year = 2008 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 1;
    local.tm_hour = 0;
    local.tm_min = 30;
    local.tm_isdst = -1;
    UtcTime start = UtcTimeFromUnix(std::mktime(&local));
    EXPECT_EQ(DefaultPublicationDate(start), "2007-12-31");
    EXPECT_EQ(LogTimestamp(start), "31.12.2007 21:30:0");
}
