// Reading saved and headless logs back: Save, Open, Save gives the same bytes; bad input loses
// nothing else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_bytes.h"
#include "line_text.h"
#include "iso_time.h"
#include "log_reader.h"
#include "temporary_file.h"
#include "time_column.h"

namespace {

ReceivedLine LoggedLine(LineClass lineClass, const std::string& text, uint32_t msOfDay = 33903007)
{
    ReceivedLine line;
    line.lineClass = lineClass;
    line.text = text;
    line.arrivalMsOfDay = msOfDay;  // 09:25:03.007
    return line;
}

struct Read {
    std::vector<LogEntry> entries;
    LogReadSummary summary;
    bool ok = false;
    std::string error;
};

// Reads text fed in pieces of pieceSize bytes.
Read ReadText(const std::string& text, size_t pieceSize = 7)
{
    Read read;
    LogReader reader([&read](LogEntry&& entry) { read.entries.push_back(std::move(entry)); });
    read.ok = true;
    for (size_t at = 0; at < text.size() && read.ok; at += pieceSize) {
        read.ok = reader.Feed(std::string_view(text).substr(at, pieceSize), &read.error);
    }
    if (read.ok) {
        read.ok = reader.Finish(&read.error);
    }
    read.summary = reader.Summary();
    return read;
}

std::string Written(const std::vector<LogEntry>& entries)
{
    std::string text;
    for (const LogEntry& entry : entries) {
        text += FormatLogEntry(entry);
    }
    return text;
}

// Lines of every kind a host can send, as the terminal writes them.
std::string EveryKindOfLine()
{
    ReceivedLine tooLong = LoggedLine(LineClass::Debug, "");
    tooLong.carriage = LineCarriage::TooLong;
    ReceivedLine unreadable = LoggedLine(LineClass::Error, "");
    unreadable.carriage = LineCarriage::Unreadable;
    std::string everyByte;
    for (int c = 1; c < 256; ++c) {
        everyByte += static_cast<char>(c);
    }
    ReceivedLine odsLine = LoggedLine(LineClass::Ods, "written with OutputDebugString");
    odsLine.processId = 4294967295u;
    odsLine.processName = "My Tool\\x.exe";
    ReceivedLine odsOfAnEndedProcess = LoggedLine(LineClass::Ods, "");
    odsOfAnEndedProcess.processId = 7;
    std::vector<ReceivedLine> lines = {
        LoggedLine(LineClass::Debug, "Scanner : count=5\n", 0),
        LoggedLine(LineClass::Log, "opened\n", 86399999),
        LoggedLine(LineClass::Statistic, "packets=12\n"),
        LoggedLine(LineClass::Error, "disk full\n"),
        LoggedLine(LineClass::Separator, "======\n"),
        LoggedLine(LineClass::Debug, "\n"),
        LoggedLine(LineClass::Debug, "two\nlines\n\n"),
        LoggedLine(LineClass::Debug, "a host's own \\x41 \\n \\x0A \\x1f \\\\ stays\n"),
        LoggedLine(LineClass::Debug, everyByte.substr(0, 254) + "\n"),
        LoggedLine(LineClass::Log, "no line feed"),
        LoggedLine(LineClass::ClearMarker, ""),
        tooLong,
        unreadable,
        odsLine,
        odsOfAnEndedProcess,
    };
    std::string text;
    for (const ReceivedLine& line : lines) {
        text += FormatOutputLine(line);
    }
    return text + FormatDroppedNotice(33903007, 12345);
}

TEST(LogReader, WhatTheTerminalWroteIsReadBackToTheSameBytes)
{
    std::string text = EveryKindOfLine();
    for (size_t pieceSize : {1u, 7u, 100000u}) {
        Read read = ReadText(text, pieceSize);
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_EQ(16u, read.summary.entries);
        EXPECT_EQ(0u, read.summary.skipped);
        EXPECT_EQ(text, Written(read.entries)) << "pieces of " << pieceSize;
    }
}

TEST(LogReader, LinesComeBackAsTheyArrived)
{
    Read read = ReadText(EveryKindOfLine());
    ASSERT_TRUE(read.ok);
    const ReceivedLine& first = read.entries[0].line;
    EXPECT_EQ(LineClass::Debug, first.lineClass);
    EXPECT_EQ("Scanner : count=5\n", first.text);
    EXPECT_EQ(0u, first.arrivalMsOfDay);
    EXPECT_EQ(86399999u, read.entries[1].line.arrivalMsOfDay);
    EXPECT_EQ("two\nlines\n\n", read.entries[6].line.text);
    // A backslash and n that the host sent read back as the line feed the writer would show so.
    EXPECT_EQ("a host's own \\x41 \n \\x0A \\x1f \\\\ stays\n", read.entries[7].line.text);
    EXPECT_EQ(LineClass::ClearMarker, read.entries[10].line.lineClass);
    EXPECT_EQ(LineCarriage::TooLong, read.entries[11].line.carriage);
    EXPECT_EQ(LineCarriage::Unreadable, read.entries[12].line.carriage);
    EXPECT_EQ(LineClass::Ods, read.entries[13].line.lineClass);
    EXPECT_EQ(4294967295u, read.entries[13].line.processId);
    EXPECT_EQ("My Tool\\x.exe", read.entries[13].line.processName);
    EXPECT_EQ("written with OutputDebugString\n", read.entries[13].line.text);
    EXPECT_EQ(7u, read.entries[14].line.processId);
    EXPECT_EQ("", read.entries[14].line.processName);
    EXPECT_EQ(LogEntryKind::DroppedNotice, read.entries[15].kind);
    EXPECT_EQ(12345u, read.entries[15].droppedCount);
}

TEST(LogReader, EscapesAreUndoneOnlyWhereTheWriterMakesThem)
{
    LogEntry entry;
    ASSERT_TRUE(ParseLogLine("09:25:03.007 debug     tab\\there \\x01 but \\x41 \\x09 \\x1f \\q", &entry));
    EXPECT_EQ("tab\there \x01 but \\x41 \\x09 \\x1f \\q\n", entry.line.text);
}

TEST(LogReader, AFileThatIsNotALogIsRefusedAtItsFirstLine)
{
    for (const std::string& text :
         {std::string("hello world\n09:25:03.007 debug     x\n"), std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10),
          std::string("\n\n25:00:00.000 debug     x\n")}) {
        Read read = ReadText(text);
        EXPECT_FALSE(read.ok);
        EXPECT_TRUE(read.entries.empty());
        EXPECT_EQ(0u, read.error.find("this is not a log of the terminal: line "));
    }
    EXPECT_EQ("this is not a log of the terminal: line 3 does not start with a time and a class "
              "(\"09:05:03.007 debug ...\")",
              ReadText("\n\n25:00:00.000 debug     x\n").error);
}

TEST(LogReader, AFileWhoseFirstLineIsNoLogLineIsRefusedAsSoonAsThatIsKnown)
{
    // Fed in pieces of 64 KB, as a file of 2 GB would be: zeros, and a first line that begins as
    // one of the terminal's but grows past the longest; each is refused in its first piece.
    for (const std::string& piece :
         {std::string(65536, '\0'), "09:25:03.007 debug     " + std::string(65536 - 23, 'x')}) {
        LogReader reader([](LogEntry&&) {});
        std::string error;
        EXPECT_FALSE(reader.Feed(piece, &error));
        EXPECT_EQ("this is not a log of the terminal: line 1 does not start with a time and a class "
                  "(\"09:05:03.007 debug ...\")",
                  error);
    }
}

TEST(LogReader, BadLinesInsideALogAreLeftOutCountedAndTheRestIsKept)
{
    std::string good = FormatOutputLine(LoggedLine(LineClass::Log, "kept\n"));
    std::string text = good + "garbage\n" + good + "09:25:03.007 debug     bin\x01" "ary\n" +
                       "09:25:03.007 warning   unknown class\n" + "09:25:03.007 debug   x misaligned\n" +
                       "09:25:03.007 clear     not the marker's text\n" +
                       "09:25:03.007 dropped   0012 lines lost: the output could not keep up\n" +
                       "09:25:03.007 debug     " + std::string(5000, 'x') + "\n" + good;
    Read read = ReadText(text);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(3u, read.summary.entries);
    EXPECT_EQ(7u, read.summary.skipped);
    EXPECT_EQ(2u, read.summary.firstSkippedLine);
    EXPECT_EQ(good + good + good, Written(read.entries));
    EXPECT_EQ("left out 7 lines that could not be read (the first is line 2)", SkippedLinesText(read.summary));
}

TEST(LogReader, DamagedCopiesOfALogLoseOnlyTheirDamagedLines)
{
    std::string text = EveryKindOfLine();
    unsigned long long seed = 7;
    auto next = [&seed](size_t bound) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<size_t>((seed >> 33) % bound);
    };
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = text;
        for (int hit = 0; hit < 3; ++hit) {
            damaged[next(damaged.size())] = static_cast<char>(next(256));
        }
        Read read = ReadText(damaged, 1 + next(40));
        if (!read.ok) {
            EXPECT_EQ(0u, read.error.find("this is not a log of the terminal: line 1 ")) << read.error;
            continue;
        }
        // Every line read comes out again as it stood in the damaged copy (but for blanks an
        // editor might have trimmed, which the reader forgives).
        for (const LogEntry& entry : read.entries) {
            std::string written = FormatLogEntry(entry);
            written.erase(written.find_last_not_of(" \n") + 1);
            EXPECT_NE(std::string::npos, damaged.find(written)) << written;
        }
        EXPECT_GE(read.summary.entries + read.summary.skipped, 11u);
    }
}

TEST(LogReader, ANoticeOfOneLineLostReadsInTheWordsOfNowAndOfOlderFiles)
{
    Read read = ReadText("09:25:03.007 dropped   1 line lost: the output could not keep up\n"
                         "09:25:03.007 dropped   1 lines lost: the output could not keep up\n"
                         "09:25:03.007 dropped   2 line lost: the output could not keep up\n");
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(2u, read.entries.size());
    for (const LogEntry& entry : read.entries) {
        EXPECT_EQ(LogEntryKind::DroppedNotice, entry.kind);
        EXPECT_EQ(1u, entry.droppedCount);
    }
    EXPECT_EQ(1u, read.summary.skipped);
}

TEST(LogReader, EditorsLineEndsByteOrderMarkAndTrimmedBlanksAreForgiven)
{
    Read read = ReadText("\xEF\xBB\xBF" "09:25:03.007 log       opened\r\n09:25:03.007 debug\n\n09:25:03.007 error     "
                         "last without line end");
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(3u, read.entries.size());
    EXPECT_EQ("opened\n", read.entries[0].line.text);
    EXPECT_EQ("\n", read.entries[1].line.text);
    EXPECT_EQ("last without line end\n", read.entries[2].line.text);
    EXPECT_EQ(0u, read.summary.skipped);
}

TEST(LogReader, AnEmptyFileHasNoLines)
{
    Read read = ReadText("");
    EXPECT_TRUE(read.ok);
    EXPECT_TRUE(read.entries.empty());
    EXPECT_EQ("", SkippedLinesText(read.summary));
}

TEST(LogReader, SaveOpenSaveGivesTheSameFile)
{
    TemporaryFile saved(L"log");
    TemporaryFile again(L"log");
    std::string text = EveryKindOfLine();
    ASSERT_TRUE(WriteFileBytes(saved.Path(), text));
    std::vector<LogEntry> entries;
    LogReadSummary summary;
    std::string error;
    ASSERT_TRUE(ReadLogFile(saved.Path(), [&entries](LogEntry&& entry) { entries.push_back(std::move(entry)); },
                            &summary, &error))
        << error;
    ASSERT_TRUE(WriteFileBytes(again.Path(), Written(entries)));
    EXPECT_EQ(text, ReadFileBytes(again.Path()));
    EXPECT_EQ(16u, summary.entries);
}

TEST(LogReader, AMissingFileIsReportedWithTheSystemsReason)
{
    LogReadSummary summary;
    std::string error;
    EXPECT_FALSE(ReadLogFile(L"C:\\no-such-folder-here\\log.txt", [](LogEntry&&) {}, &summary, &error));
    EXPECT_EQ(0u, error.find("cannot read the file: error 3"));
}

} // namespace

// Save's dates: the date at the top and wherever it changes; read back, the lines show their
// dates and count time across midnight; the same file saved again is the same file.
TEST(LogReader, DatesSavedAcrossMidnightReadBackAndAFileWithoutDatesStillOpens)
{
    auto arrived = [](const char* iso, LineClass lineClass, const std::string& text) {
        ReceivedLine line = LoggedLine(lineClass, text);
        int offset = 0;
        EXPECT_TRUE(ParseIsoTime(iso, &line.arrivalUtcMs, &offset));
        line.utcOffsetMinutes = static_cast<int16_t>(offset);
        line.arrivalMsOfDay = static_cast<uint32_t>((line.arrivalUtcMs + offset * 60000) % MsPerDay);
        return line;
    };
    const std::vector<ReceivedLine> lines = {
        arrived("2026-12-09T23:59:59.500+01:00", LineClass::Debug, "before midnight\n"),
        arrived("2026-12-10T00:00:00.250+01:00", LineClass::Debug, "after midnight\n"),
        arrived("2026-12-10T00:00:01.000+01:00", LineClass::Log, "later\n"),
    };
    auto save = [](const std::vector<ReceivedLine>& shown) {
        std::string text;
        int64_t day = NoDay;
        for (const ReceivedLine& line : shown) {
            text += DateLineBefore(line, &day) + FormatOutputLine(line);
        }
        return text;
    };
    const std::string undated = "23:59:59.500 debug     before midnight\n"
                                "00:00:00.250 debug     after midnight\n"
                                "00:00:01.000 log       later\n";
    const std::string saved = save(lines);
    EXPECT_EQ("date 2026-12-09\n" + undated.substr(0, 39) + "date 2026-12-10\n" + undated.substr(39), saved);

    struct Case {
        std::string file;
        std::vector<std::string> clock;
    };
    const std::vector<Case> cases = {
        {saved, {"2026-12-09 23:59:59.500", "2026-12-10 00:00:00.250", "2026-12-10 00:00:01.000"}},
        {undated, {"23:59:59.500", "00:00:00.250", "00:00:01.000"}},  // saved before dates were
    };
    for (const Case& c : cases) {
        Read read = ReadText(c.file, 5);
        ASSERT_TRUE(read.ok) << read.error;
        ASSERT_EQ(3u, read.entries.size());
        TimeColumn clock;
        clock.SetShowDates(true);
        TimeColumn sinceStart;
        sinceStart.SetMode(TimeMode::SinceStart);
        std::vector<ReceivedLine> back;
        std::vector<std::string> clockTexts;
        std::vector<std::string> elapsed;
        for (const LogEntry& entry : read.entries) {
            back.push_back(entry.line);
            sinceStart.Observe(entry.line);
            clockTexts.push_back(clock.Text(entry.line, nullptr));
            elapsed.push_back(sinceStart.Text(entry.line, nullptr));
        }
        EXPECT_EQ(c.clock, clockTexts);
        EXPECT_EQ((std::vector<std::string>{"0.000", "0.750", "1.500"}), elapsed);
        EXPECT_EQ(c.file, save(back));
    }
}
