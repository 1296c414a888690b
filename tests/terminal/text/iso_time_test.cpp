// Instants as ISO 8601 local time with offset, and the arrival time taken from the clock.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "arrival_time.h"
#include "iso_time.h"

namespace {

TEST(IsoTime, InstantsAreWrittenAsLocalTimeWithMillisecondsAndOffset)
{
    struct Case {
        int64_t utcMs;
        int offsetMinutes;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1796736252449, 60, "2026-12-08T14:24:12.449+01:00"},
        {1796736252449, 0, "2026-12-08T13:24:12.449+00:00"},
        {1796736252449, -330, "2026-12-08T07:54:12.449-05:30"},
        {1796774399999, 600, "2026-12-09T09:59:59.999+10:00"},
        {0, 0, "1970-01-01T00:00:00.000+00:00"},
        {-1, 0, "1969-12-31T23:59:59.999+00:00"},
        {951782400000, 0, "2000-02-29T00:00:00.000+00:00"},
        {253402300799999, 0, "9999-12-31T23:59:59.999+00:00"},
        {253402300800000, 0, ""},  // the year 10000, which RFC 3339 cannot write
        {253402297200000, 60, ""},  // 10000-01-01T00:00 local
        {1796736252449, 100000, "2026-12-08T13:24:12.449+00:00"},  // no such offset: taken as UTC
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, FormatIsoTime(c.utcMs, c.offsetMinutes));
    }
}

TEST(ArrivalTime, OneInstantGivesTheTimeOfDayTheInstantAndTheOffset)
{
    // 2026-12-08 13:24:12.449 UTC read as 14:24:12.449 local: FILETIME ticks since 1601.
    const uint64_t utcTicks = (1796736252449ull + 11644473600000ull) * 10000 + 1234;
    const uint64_t localTicks = utcTicks + 60ull * 60 * 10000000;
    ArrivalTime arrival = ArrivalFromTicks(utcTicks, localTicks);
    EXPECT_EQ(1796736252449, arrival.utcMs);
    EXPECT_EQ(60, arrival.offsetMinutes);
    EXPECT_EQ(((14u * 60 + 24) * 60 + 12) * 1000 + 449, arrival.msOfDay);
}

TEST(ArrivalTime, AStampedLineAgreesWithTheClock)
{
    SYSTEMTIME before;
    GetSystemTime(&before);
    ReceivedLine line;
    StampArrival(&line);
    FILETIME now;
    SystemTimeToFileTime(&before, &now);
    int64_t beforeMs = static_cast<int64_t>(((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) /
                                            10000) -
                       11644473600000;
    EXPECT_GE(line.arrivalUtcMs, beforeMs);
    EXPECT_LT(line.arrivalUtcMs, beforeMs + 5000);
    int64_t localMs = line.arrivalUtcMs + line.utcOffsetMinutes * 60000;
    EXPECT_EQ(static_cast<uint32_t>(localMs % 86400000), line.arrivalMsOfDay);
}

} // namespace
