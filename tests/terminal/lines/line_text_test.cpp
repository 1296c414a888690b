// How received lines read in headless output and saved files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_text.h"

namespace {

ReceivedLine ShownLine(LineClass lineClass, const std::string& text, LineCarriage carriage = LineCarriage::Carried)
{
    ReceivedLine line;
    line.arrivalMsOfDay = ((9 * 60 + 5) * 60 + 3) * 1000 + 7;  // 09:05:03.007
    line.lineClass = lineClass;
    line.carriage = carriage;
    line.text = text;
    return line;
}

TEST(LineText, EachClassIsWrittenWithTimePaddedLabelAndTextWithoutItsLineFeed)
{
    struct Case {
        ReceivedLine line;
        std::string written;
    };
    const std::vector<Case> cases = {
        {ShownLine(LineClass::Debug, "Scanner : count=5\n"), "09:05:03.007 debug     Scanner : count=5\n"},
        {ShownLine(LineClass::Log, "opened\n"), "09:05:03.007 log       opened\n"},
        {ShownLine(LineClass::Statistic, "packets=12\n"), "09:05:03.007 statistic packets=12\n"},
        {ShownLine(LineClass::Error, "disk full\n"), "09:05:03.007 error     disk full\n"},
        {ShownLine(LineClass::Separator, "-----\n"), "09:05:03.007 separator -----\n"},
        {ShownLine(LineClass::ClearMarker, ""), "09:05:03.007 clear     terminal cleared\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.written, FormatOutputLine(c.line));
    }
}

TEST(LineText, AnOdsLineNamesItsWriterInOneWordBeforeTheText)
{
    struct Case {
        std::string processName;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"name.exe", "09:05:03.007 ods       pid=4321 name.exe ready\n"},
        {"", "09:05:03.007 ods       pid=4321 - ready\n"},  // the process had ended
        {"My Tool\\x.exe", "09:05:03.007 ods       pid=4321 My\\x20Tool\\x5Cx.exe ready\n"},
        {"-", "09:05:03.007 ods       pid=4321 \\x2D ready\n"},
    };
    for (const Case& c : cases) {
        ReceivedLine line = ShownLine(LineClass::Ods, "ready\n");
        line.processId = 4321;
        line.processName = c.processName;
        EXPECT_EQ(c.written, FormatOutputLine(line));
    }
}

TEST(LineText, LinesThatDidNotArriveWholeShowAPlaceholder)
{
    EXPECT_EQ("09:05:03.007 debug     <line too long to carry>\n",
              FormatOutputLine(ShownLine(LineClass::Debug, "", LineCarriage::TooLong)));
    EXPECT_EQ("09:05:03.007 error     <line could not be read>\n",
              FormatOutputLine(ShownLine(LineClass::Error, "", LineCarriage::Unreadable)));
}

TEST(LineText, OnlyTheFinalLineFeedIsTakenOffAndOtherControlCharactersAreEscaped)
{
    EXPECT_EQ("two\\nlines", DisplayText(ShownLine(LineClass::Log, "two\nlines\n")));
    EXPECT_EQ("no line feed", DisplayText(ShownLine(LineClass::Log, "no line feed")));
    EXPECT_EQ("ends in two\\n", DisplayText(ShownLine(LineClass::Log, "ends in two\n\n")));
    EXPECT_EQ("\\t\\r\\x01\\x1F\\x7F~", DisplayText(ShownLine(LineClass::Log, "\t\r\x01\x1F\x7F~\n")));
    EXPECT_EQ("caf\xE9 stays as sent", DisplayText(ShownLine(LineClass::Log, "caf\xE9 stays as sent\n")));
    EXPECT_EQ("", DisplayText(ShownLine(LineClass::Log, "\n")));
}

TEST(LineText, TimeOfDayRunsFromMidnightToTheLastMillisecond)
{
    EXPECT_EQ("00:00:00.000", FormatTimeOfDay(0));
    EXPECT_EQ("23:59:59.999", FormatTimeOfDay(24u * 3600 * 1000 - 1));
}

TEST(LineText, DroppedNoticeCountsTheLostLines)
{
    EXPECT_EQ("09:05:03.007 dropped   12345 lines lost: the output could not keep up\n",
              FormatDroppedNotice(((9 * 60 + 5) * 60 + 3) * 1000 + 7, 12345));
    EXPECT_EQ("09:05:03.007 dropped   1 line lost: the output could not keep up\n",
              FormatDroppedNotice(((9 * 60 + 5) * 60 + 3) * 1000 + 7, 1));
}

} // namespace
