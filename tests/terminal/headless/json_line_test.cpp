// Headless output as JSON lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json_line.h"
#include "json_line_reader.h"
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
        {SampleOdsLine("ready", "caf\xE9.exe"),
         "{\"time\":\"2026-12-08T14:24:12.449+01:00\",\"class\":\"ods\",\"pid\":4321,\"process\":\"caf\xC3\xA9.exe\","
         "\"text\":\"ready\"}\n"},
        {SampleOdsLine("ready", ""),
         "{\"time\":\"2026-12-08T14:24:12.449+01:00\",\"class\":\"ods\",\"pid\":4321,\"process\":null,"
         "\"text\":\"ready\"}\n"},
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

// What the terminal wrote, read back in pieces of every size: the same lines, in both the JSON and
// the text form; a line of another form in between is left out and counted.
TEST(JsonLogReader, LinesWrittenReadBackAsTheSameLinesAndADamagedOneIsCounted)
{
    ReceivedLine late = SampleLine(LineClass::Error, "\"q\" \\ \t\x01\x7F caf\xE9 \x80\n\n");
    late.arrivalUtcMs = SampleUtcMs + 10 * 3600 * 1000;  // past midnight where it arrived
    late.arrivalMsOfDay = SampleMsOfDay + 10 * 3600 * 1000 - 86400000;
    ReceivedLine tooLong = SampleLine(LineClass::Debug, "");
    tooLong.carriage = LineCarriage::TooLong;
    ReceivedLine undated = Line(LineClass::Log, "undated\n");
    ArrivalTime at;
    at.utcMs = SampleUtcMs;
    at.offsetMinutes = SampleOffsetMinutes;
    const std::string damaged = "{\"time\":null,\"class\":\"debug\",\"text\":\"\\u0041\"}\n";
    std::string written = FormatJsonLine(SampleLine(LineClass::Debug, "first\n"), 1252) + FormatJsonLine(late, 1252) +
                          damaged +
                          FormatJsonLine(SampleLine(LineClass::ClearMarker, ""), 1252) + FormatJsonLine(tooLong, 1252) +
                          FormatJsonDroppedNotice(at, 1) + FormatJsonLine(undated, 1252) +
                          FormatJsonLine(SampleOdsLine("ready", "caf\xE9.exe"), 1252) +
                          FormatJsonLine(SampleOdsLine("gone", ""), 1252);
    const std::string expectedText = "14:24:12.449 debug     first\n"
                                     "00:24:12.449 error     \"q\" \\ \\t\\x01\\x7F caf\xE9 \x80\\n\n"
                                     "14:24:12.449 clear     terminal cleared\n"
                                     "14:24:12.449 debug     <line too long to carry>\n"
                                     "14:24:12.449 dropped   1 line lost: the output could not keep up\n"
                                     "00:00:00.000 log       undated\n"
                                     "14:24:12.449 ods       pid=4321 caf\xE9.exe ready\n"
                                     "14:24:12.449 ods       pid=4321 - gone\n";
    std::string expectedJson = written;
    expectedJson.erase(expectedJson.find(damaged), damaged.size());
    for (size_t piece : {size_t(1), size_t(7), written.size()}) {
        std::string text;
        std::string json;
        JsonLogReader reader(
            [&](LogEntry&& entry) {
                text += FormatLogEntry(entry);
                if (entry.kind == LogEntryKind::Line) {
                    json += FormatJsonLine(entry.line, 1252);
                } else {
                    json += FormatJsonDroppedNotice(at, entry.droppedCount);
                }
            },
            1252);
        std::string error;
        for (size_t from = 0; from < written.size(); from += piece) {
            ASSERT_TRUE(reader.Feed(std::string_view(written).substr(from, piece), &error)) << error;
        }
        ASSERT_TRUE(reader.Finish(&error)) << error;
        EXPECT_EQ(expectedText, text);
        EXPECT_EQ(expectedJson, json);
        EXPECT_EQ(8u, reader.Summary().entries);
        EXPECT_EQ(1u, reader.Summary().skipped);
        EXPECT_EQ(3u, reader.Summary().firstSkippedLine);
    }
}

TEST(JsonLogReader, AFileWhoseFirstLineIsNoneOfTheTerminalsIsRefused)
{
    const std::vector<std::string> refused = {
        "{\"time\":null,\"class\":\"debug\",\"text\":\"x\"} \n",                        // a blank after it
        "{\"class\":\"debug\",\"time\":null,\"text\":\"x\"}\n",                         // another order
        "{\"time\":\"2026-02-30T14:24:12.449+01:00\",\"class\":\"debug\",\"text\":\"x\"}\n",  // no such day
        "{\"time\":\"2026-12-08T14:24:12.449-00:00\",\"class\":\"debug\",\"text\":\"x\"}\n",  // -00:00
        "{\"time\":null,\"class\":\"debug\",\"text\":\"\\u0020\"}\n",                   // an escape not written
        "{\"time\":null,\"class\":\"debug\",\"text\":\"\xC3\"}\n",                      // not UTF-8
        "{\"time\":null,\"class\":\"chatter\",\"text\":\"x\"}\n",
        "{" + std::string(MaxJsonLineBytes, 'x'),
    };
    for (const std::string& input : refused) {
        JsonLogReader reader([](LogEntry&&) { ADD_FAILURE(); }, 1252);
        std::string error;
        EXPECT_FALSE(reader.Feed(input, &error) && reader.Finish(&error)) << input.substr(0, 80);
        EXPECT_EQ("this is not a JSON log of the terminal: line 1 is not an object of time, class and text as the "
                  "terminal writes it",
                  error);
    }
}
