// A log read on its thread while another program still writes it, or cuts it short: what is
// there when the read gets there is read, and the read ends without an error; damaged lines cost
// only themselves.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "file_bytes.h"
#include "log_opening.h"
#include "temporary_file.h"

namespace {

std::string Lines(int first, int count)
{
    std::string text;
    for (int n = first; n < first + count; ++n) {
        text += "00:00:00.000 debug     line " + std::to_string(n) + "\n";
    }
    return text;
}

// Until the reading thread waits for the entries to be taken (it holds a bounded number).
void WaitUntilTheReadWaits(const LogOpening& opening)
{
    int last = -1;
    for (int steady = 0; steady < 10;) {
        Sleep(50);
        int now = opening.Percent();
        steady = now == last ? steady + 1 : 0;
        last = now;
    }
}

std::vector<LogEntry> TakeToTheEnd(LogOpening& opening)
{
    std::vector<LogEntry> entries;
    for (int tries = 0; tries < 3000 && !opening.Ended(); ++tries) {
        opening.Take(&entries);
        Sleep(10);
    }
    opening.Take(&entries);
    return entries;
}

// Lines enough that the thread stops to wait for them to be taken before it reaches the end.
constexpr int WaitingLines = 300000;

TEST(LogOpening, LinesAddedWhileTheFileIsReadAreReadToo)
{
    TemporaryFile log(L"growing");
    ASSERT_TRUE(WriteFileBytes(log.Path(), Lines(1, WaitingLines)));
    LogOpening opening({log.Path()});
    WaitUntilTheReadWaits(opening);
    ASSERT_LT(opening.Percent(), 99);
    HANDLE file = CreateFileW(log.Path().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::string more = Lines(WaitingLines + 1, 2);
    DWORD wrote = 0;
    EXPECT_TRUE(WriteFile(file, more.data(), static_cast<DWORD>(more.size()), &wrote, NULL));
    CloseHandle(file);

    std::vector<LogEntry> entries = TakeToTheEnd(opening);
    ASSERT_TRUE(opening.Ended());
    EXPECT_EQ("", opening.Outcome().error);
    ASSERT_EQ(static_cast<size_t>(WaitingLines + 2), entries.size());
    EXPECT_EQ("line 300002\n", entries.back().line.text);
}

TEST(LogOpening, AFileCutShortWhileItIsReadEndsWhereItWasCut)
{
    TemporaryFile log(L"truncated");
    ASSERT_TRUE(WriteFileBytes(log.Path(), Lines(1, WaitingLines)));
    LogOpening opening({log.Path()});
    WaitUntilTheReadWaits(opening);
    int readBefore = opening.Percent();
    HANDLE file = CreateFileW(log.Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    EXPECT_TRUE(SetEndOfFile(file));  // to nothing, as a program starting its output again would
    CloseHandle(file);

    std::vector<LogEntry> entries = TakeToTheEnd(opening);
    ASSERT_TRUE(opening.Ended());
    EXPECT_EQ("", opening.Outcome().error);
    EXPECT_FALSE(opening.Outcome().stopped);
    // What was read before the cut, in order, and nothing after it; the last line may be the part
    // of one the piece read last held.
    ASSERT_LT(entries.size(), static_cast<size_t>(WaitingLines));
    ASSERT_GT(entries.size(), static_cast<size_t>(WaitingLines) * readBefore / 100 / 2);
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        ASSERT_EQ("line " + std::to_string(i + 1) + "\n", entries[i].line.text);
    }
    std::string last = entries.back().line.text;
    EXPECT_EQ(0u, ("line " + std::to_string(entries.size()) + "\n").find(last.substr(0, last.size() - 1)));
}

// A 100 MB line and binary data inside a log cost only themselves: the lines around them are
// read, and the two are counted as left out.
TEST(LogOpening, AHundredMegabyteLineAndBinaryDataAreLeftOutAndCountedAndTheRestIsRead)
{
    TemporaryFile log(L"hostile");
    std::string text = Lines(1, 2) + "00:00:00.000 debug     " + std::string(100 * 1000 * 1000, 'x') + "\n" +
                       Lines(3, 1) + std::string("\x00\x01\xFF\xFE binary\x00\n", 13) + Lines(4, 1);
    ASSERT_TRUE(WriteFileBytes(log.Path(), text));
    text.clear();
    LogOpening opening({log.Path()});
    std::vector<LogEntry> entries = TakeToTheEnd(opening);
    ASSERT_TRUE(opening.Ended());
    EXPECT_EQ("", opening.Outcome().error);
    std::vector<std::string> texts;
    for (const LogEntry& entry : entries) {
        texts.push_back(entry.line.text);
    }
    EXPECT_EQ((std::vector<std::string>{"line 1\n", "line 2\n", "line 3\n", "line 4\n"}), texts);
    EXPECT_EQ("left out 2 lines that could not be read (the first is line 3)", SkippedLinesText(opening.Outcome().summary));
}

} // namespace
