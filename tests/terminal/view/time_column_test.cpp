// The time column's three modes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "received_lines.h"
#include "time_column.h"

namespace {

ReceivedLine At(int64_t laterMs, LineClass lineClass = LineClass::Debug)
{
    ReceivedLine line;
    line.lineClass = lineClass;
    line.arrivalUtcMs = SampleUtcMs + laterMs;
    line.utcOffsetMinutes = SampleOffsetMinutes;
    line.arrivalMsOfDay = static_cast<uint32_t>((SampleMsOfDay + laterMs) % 86400000);
    return line;
}

ReceivedLine TimeOfDayOnly(uint32_t msOfDay)
{
    ReceivedLine line;
    line.arrivalMsOfDay = msOfDay;
    return line;
}

TEST(TimeColumn, ElapsedTimesAreWrittenInSecondsMinutesAndHours)
{
    struct Case {
        int64_t ms;
        bool withSign;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0, false, "0.000"},          {12345, false, "12.345"},          {187345, false, "3:07.345"},
        {3787345, false, "1:03:07.345"}, {90000000, false, "25:00:00.000"}, {250, true, "+0.250"},
        {-1000, true, "-1.000"},      {-61001, false, "-1:01.001"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, FormatElapsed(c.ms, c.withSign)) << c.ms;
    }
}

TEST(TimeColumn, ClockModeShowsTheTimeOfDayAsBefore)
{
    TimeColumn column;
    EXPECT_EQ("14:24:12.449", column.Text(At(0), nullptr));
}

TEST(TimeColumn, SinceStartCountsFromTheFirstLineAndAgainFromAClear)
{
    TimeColumn column;
    column.SetMode(TimeMode::SinceStart);
    column.Observe(At(0));
    column.Observe(At(1500));
    EXPECT_EQ("1.500", column.Text(At(1500), nullptr));
    column.Observe(At(60000, LineClass::ClearMarker));
    column.Observe(At(61000));
    EXPECT_EQ("1.000", column.Text(At(61000), nullptr));
    column.Restart();
    column.Observe(At(70000));
    EXPECT_EQ("0.000", column.Text(At(70000), nullptr));
}

TEST(TimeColumn, SincePreviousCountsFromTheRowAbove)
{
    TimeColumn column;
    column.SetMode(TimeMode::SincePrevious);
    ReceivedLine firstLine = At(0);
    StoredLine first = firstLine;
    EXPECT_EQ("+0.000", column.Text(first, nullptr));
    EXPECT_EQ("+2.001", column.Text(At(2001), &first));
}

TEST(TimeColumn, InstantsDecideAcrossMidnightAndAClockSetBackShowsNegative)
{
    EXPECT_EQ(86400000 + 5, ElapsedMs(At(0), At(86400005)));
    EXPECT_EQ(-2000, ElapsedMs(At(0), At(-2000)));
}

TEST(TimeColumn, LinesWithOnlyATimeOfDayAreTakenWithinADay)
{
    EXPECT_EQ(1000, ElapsedMs(TimeOfDayOnly(86399500), TimeOfDayOnly(500)));
    EXPECT_EQ(250, ElapsedMs(TimeOfDayOnly(1000), TimeOfDayOnly(1250)));
}

TEST(TimeColumn, ModesHaveNamesForTheSettings)
{
    TimeMode mode = TimeMode::Clock;
    ASSERT_TRUE(TimeModeNamed("since-previous", &mode));
    EXPECT_EQ(TimeMode::SincePrevious, mode);
    EXPECT_STREQ("since-start", TimeModeName(TimeMode::SinceStart));
    EXPECT_FALSE(TimeModeNamed("Clock", &mode));
}

} // namespace
