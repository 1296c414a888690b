// Headless output as JSON lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json_line.h"
#include "received_lines.h"

namespace {

TEST(JsonLine, EachLineIsOneObjectWithTimeClassAndText)
{
    struct Case {
        ReceivedLine line;
        std::string json;
    };
    const std::vector<Case> cases = {
        {SampleLine(LineClass::Error, "disk full\n"),
         "{\"time\":\"2026-12-08T14:24:12.449+01:00\",\"class\":\"error\",\"text\":\"disk full\"}\n"},
        {SampleLine(LineClass::Separator, "=====\n"),
         "{\"time\":\"2026-12-08T14:24:12.449+01:00\",\"class\":\"separator\",\"text\":\"=====\"}\n"},
        {SampleLine(LineClass::ClearMarker, ""),
         "{\"time\":\"2026-12-08T14:24:12.449+01:00\",\"class\":\"clear\",\"text\":\"terminal cleared\"}\n"},
        {SampleLine(LineClass::Log, "\n"), "{\"time\":\"2026-12-08T14:24:12.449+01:00\",\"class\":\"log\",\"text\":\"\"}\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.json, FormatJsonLine(c.line, 1252));
    }
}

TEST(JsonLine, HostileTextIsEscapedAndDecodedToUtf8)
{
    ReceivedLine line = SampleLine(LineClass::Debug, "\"q\" \\ \t\x01\x1F\x7F caf\xE9 \x80\n\n");
    EXPECT_EQ("{\"time\":\"2026-12-08T14:24:12.449+01:00\",\"class\":\"debug\",\"text\":"
              "\"\\\"q\\\" \\\\ \\u0009\\u0001\\u001F\\u007F caf\xC3\xA9 \xE2\x82\xAC\\u000A\"}\n",
              FormatJsonLine(line, 1252));
}

TEST(JsonLine, ALineNotCarriedSaysSoAndALineWithoutADateOrPastTheYear9999HasNoTime)
{
    ReceivedLine line = SampleLine(LineClass::Debug, "");
    line.carriage = LineCarriage::Unreadable;
    line.arrivalUtcMs = 0;
    const std::string expected = "{\"time\":null,\"class\":\"debug\",\"text\":\"<line could not be read>\"}\n";
    EXPECT_EQ(expected, FormatJsonLine(line, 1252));
    line.arrivalUtcMs = 253402300800000;  // 10000-01-01
    EXPECT_EQ(expected, FormatJsonLine(line, 1252));
}

TEST(JsonLine, DroppedLinesAreCountedInAnObjectOfTheirOwn)
{
    ArrivalTime at;
    at.utcMs = 1796736252449;
    at.offsetMinutes = -480;
    EXPECT_EQ("{\"time\":\"2026-12-08T05:24:12.449-08:00\",\"class\":\"dropped\",\"text\":\"12345 lines lost: the "
              "output could not keep up\"}\n",
              FormatJsonDroppedNotice(at, 12345));
}

TEST(JsonLine, A255CharacterLineOfHighBytesIsWrittenWhole)
{
    ReceivedLine line = SampleLine(LineClass::Debug, std::string(254, '\xE9') + "\n");
    std::string json = FormatJsonLine(line, 1252);
    std::string expected;
    for (int i = 0; i < 254; ++i) {
        expected += "\xC3\xA9";
    }
    EXPECT_NE(std::string::npos, json.find("\"text\":\"" + expected + "\"}"));
}

} // namespace
