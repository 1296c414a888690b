// The headless terminal's output as scripts and log collectors meet it: an output nobody reads
// does not keep the terminal (or its claim) alive, an output whose reader goes away ends it with
// the count of lines lost, JSON lines, a file rotated at a size, and the lines kept at logoff.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>

#include <string>
#include <thread>
#include <vector>

#include "debug_output_listener.h"
#include "file_bytes.h"
#include "launched_program.h"
#include "non_copyable.h"
#include "piped_terminal.h"
#include "running_terminal.h"
#include "system_error_text.h"
#include "terminal_in_process.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"
#include "vornakdbg32.h"

namespace {

using Lines = std::vector<std::string>;

// Generous: Wine may be slow on a busy machine; the terminal itself gives up after 5 s.
constexpr DWORD EndMs = 60000;
// Far more than any pipe buffers: the terminal's writes block for good.
constexpr int LinesToFillThePipe = 3000;

ProgramRun RunTerminalCommand(const std::vector<std::wstring>& arguments)
{
    return RunProgram(QuotedCommandLine(PathBesideProgram(L"vornak-terminal.exe"), arguments));
}

// Sends lines until one is refused; how many were taken.
int SendLines(int count)
{
    for (int i = 0; i < count; ++i) {
        if (VornakDbg_Message("line %04d of a long output that nobody reads: %0150d", i, 0) !=
            VORNAKDBG_STATUS_DONE) {
            return i;
        }
    }
    return count;
}

// How a terminal is asked to end.
enum class Ending { StopCommand, WindowClose };

// A terminal whose output nobody reads ends as asked, says how many lines it could not write,
// and leaves the claim free; every command then tells the truth.
void ExpectAnUnreadOutputToEndTheTerminal(Ending ending)
{
    TerminalTestLock lock;
    PipedTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    int sent = SendLines(LinesToFillThePipe);
    ASSERT_EQ(LinesToFillThePipe, sent);

    if (ending == Ending::StopCommand) {
        ProgramRun stop = RunTerminalCommand({L"--stop"});
        EXPECT_EQ(0, stop.exitCode);
        EXPECT_EQ("", stop.errors);
    } else {
        PostMessageW(terminal.Window(), WM_CLOSE, 0, 0);
    }
    ASSERT_EQ(1, terminal.Wait(EndMs));
    // What did reach the pipe is still in it.
    size_t written = terminal.ReadRemainingLines();
    EXPECT_LT(written, static_cast<size_t>(sent));
    EXPECT_EQ("vornak-terminal: " + std::to_string(sent - written) +
                  " lines could not be written: the output took nothing for 5 s after the terminal was asked to end\n",
              terminal.Errors());

    ProgramRun stopAgain = RunTerminalCommand({L"--stop"});
    EXPECT_EQ(0, stopAgain.exitCode);
    EXPECT_EQ("vornak-terminal: no debug terminal is running\n", stopAgain.errors);
    RunningTerminal next;
    ASSERT_TRUE(next.Start());
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("the next terminal takes lines"));
    EXPECT_EQ(0, next.Stop());
    EXPECT_EQ(Lines{"log       the next terminal takes lines"}, next.LinesWithoutTime());
}

TEST(HeadlessOutput, AnOutputNobodyReadsStillEndsOnStopAndFreesTheClaim)
{
    ExpectAnUnreadOutputToEndTheTerminal(Ending::StopCommand);
}

TEST(HeadlessOutput, AnOutputNobodyReadsStillEndsWhenItsWindowIsClosed)
{
    ExpectAnUnreadOutputToEndTheTerminal(Ending::WindowClose);
}

TEST(HeadlessOutput, AReaderThatGoesAwayClosesTheWindowAndTheLinesLostAreCounted)
{
    TerminalTestLock lock;
    PipedTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("first"));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("second"));
    Lines read;
    ASSERT_TRUE(terminal.ReadLines(2, &read));
    EXPECT_EQ("log       first", read[0].substr(13));
    EXPECT_EQ("log       second", read[1].substr(13));
    terminal.CloseReader();

    // Taken until the terminal sees its reader gone, refused from then on.
    int taken = 0;
    unsigned short status = VORNAKDBG_STATUS_DONE;
    for (ULONGLONG began = GetTickCount64(); status == VORNAKDBG_STATUS_DONE && GetTickCount64() - began < EndMs;) {
        status = VornakLog_Message("after the reader went: %d", taken);
        taken += status == VORNAKDBG_STATUS_DONE ? 1 : 0;
        Sleep(1);
    }
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, status);
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, VornakLog_Message("still refused"));
    EXPECT_GE(taken, 1);
    EXPECT_EQ(1, terminal.Wait(EndMs));
    std::string count = std::to_string(taken) + (taken == 1 ? " line" : " lines");
    EXPECT_EQ("vornak-terminal: " + count +
                  " could not be written: the output's reader has closed it; the terminal stopped taking lines\n",
              terminal.Errors());
}

// "2026-12-08T14:24:12.449+01:00": where a digit stands in the shape, a digit must stand.
bool IsIsoTime(const std::string& text)
{
    const std::string shape = "0000-00-00T00:00:00.000+00:00";
    if (text.size() != shape.size()) {
        return false;
    }
    for (size_t i = 0; i < shape.size(); ++i) {
        bool digitWanted = shape[i] == '0';
        bool isDigit = text[i] >= '0' && text[i] <= '9';
        bool sign = shape[i] == '+' && (text[i] == '+' || text[i] == '-');
        if (digitWanted ? !isDigit : (text[i] != shape[i] && !sign)) {
            return false;
        }
    }
    return true;
}

// The JSON line with its time (checked for its shape) written as TIME.
std::string WithoutTime(const std::string& line)
{
    const std::string opening = "{\"time\":\"";
    size_t end = line.find('"', opening.size());
    if (line.compare(0, opening.size(), opening) != 0 || end == std::string::npos ||
        !IsIsoTime(line.substr(opening.size(), end - opening.size()))) {
        return "time missing or malformed: " + line;
    }
    return "{\"time\":TIME" + line.substr(end + 1);
}

TEST(HeadlessOutput, JsonLinesCarryTimeClassAndTheTextDecodedAndEscaped)
{
    // The hosts' bytes are decoded from the ANSI code page: the expected UTF-8 below is Windows-1252's.
    // A separator is 70 fill characters, as the library draws it.
    ASSERT_EQ(1252u, GetACP());
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start({L"--format", L"json"}));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("%s", "\"q\" \\ \t\x01\x1F\x7F caf\xE9 \x80 \xFF </tag>"));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakError_Message("disk full"));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Separator('='));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_ClearTerminal());
    ASSERT_EQ(0, terminal.Stop());

    Lines lines = SplitLines(terminal.OutputText());
    for (std::string& line : lines) {
        line = WithoutTime(line);
    }
    Lines expected = {
        "{\"time\":TIME,\"class\":\"debug\",\"text\":"
        "\"\\\"q\\\" \\\\ \\u0009\\u0001\\u001F\\u007F caf\xC3\xA9 \xE2\x82\xAC \xC3\xBF </tag>\"}",
        "{\"time\":TIME,\"class\":\"error\",\"text\":\"disk full\"}",
        "{\"time\":TIME,\"class\":\"separator\",\"text\":\"" + std::string(70, '=') + "\"}",
        "{\"time\":TIME,\"class\":\"clear\",\"text\":\"terminal cleared\"}",
    };
    EXPECT_EQ(expected, lines);
}

TEST(HeadlessOutput, ARotatedFileKeepsItsNewestLinesAndAsManyOldFilesAsAsked)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    // "HH:MM:SS.mmm debug     line 07\n" is 31 bytes: six lines to a file of 200.
    ASSERT_TRUE(terminal.Start({L"--rotate", L"200", L"--keep", L"2"}));
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("line %02d", i));
    }
    ASSERT_EQ(0, terminal.Stop());
    EXPECT_EQ("", terminal.Errors());

    auto linesOf = [](const std::wstring& path) {
        Lines lines = SplitLines(ReadFileBytes(path));
        for (std::string& line : lines) {
            line.erase(0, 13);
        }
        return lines;
    };
    const std::wstring& path = terminal.OutputPath();
    auto expectedLines = [](int first) {
        Lines lines;
        for (int i = first; i < first + 6; ++i) {
            lines.push_back("debug     line " + std::string(i < 10 ? "0" : "") + std::to_string(i));
        }
        return lines;
    };
    EXPECT_EQ(expectedLines(24), linesOf(path));
    EXPECT_EQ(expectedLines(18), linesOf(path + L".1"));
    EXPECT_EQ(expectedLines(12), linesOf(path + L".2"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((path + L".3").c_str()));
    DeleteFileW((path + L".1").c_str());
    DeleteFileW((path + L".2").c_str());
}

TEST(HeadlessOutput, ARotationAnotherProgramPreventsIsSaidOnceAndLosesNeitherOldFilesNorLines)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    const std::wstring& path = terminal.OutputPath();
    // Yesterday's file and its old files, and a program that holds the file without letting it
    // be renamed or deleted, as log tailers do.
    ASSERT_TRUE(WriteFileBytes(path, "23:59:59.990 log       yesterday's last line\n"));
    ASSERT_TRUE(WriteFileBytes(path + L".1", "an old file\n"));
    ASSERT_TRUE(WriteFileBytes(path + L".2", "an older file\n"));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ASSERT_TRUE(terminal.Start({L"--rotate", L"100", L"--keep", L"2"}));
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("line %02d", i));
        // Lines in several writes, each past the size.
        if (i % 3 == 2) {
            Sleep(200);
        }
    }
    EXPECT_EQ(0, terminal.Stop());
    CloseHandle(held);

    EXPECT_EQ("vornak-terminal: cannot rotate the output file now, no file was changed and lines go on into it "
              "(tried again later): renaming " + Narrow(path) + " failed: " +
                  SystemErrorText(ERROR_SHARING_VIOLATION) + "\n",
              terminal.Errors());
    Lines lines = terminal.LinesWithoutTime();
    ASSERT_EQ(11u, lines.size());
    EXPECT_EQ("log       yesterday's last line", lines[0]);
    EXPECT_EQ("debug     line 09", lines[10]);
    EXPECT_EQ("an old file\n", ReadFileBytes(path + L".1"));
    EXPECT_EQ("an older file\n", ReadFileBytes(path + L".2"));
    DeleteFileW((path + L".1").c_str());
    DeleteFileW((path + L".2").c_str());
}

// A pipe already full that nobody reads: every write to its inheritable end blocks.
class FullPipe : private NonCopyable {
public:
    FullPipe()
    {
        SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
        if (CreatePipe(&read_, &write_, &inheritable, 0)) {
            SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
            filler_ = std::thread([this] {
                std::string block(65536, '#');
                DWORD written = 0;
                WriteFile(write_, block.data(), static_cast<DWORD>(block.size()), &written, NULL);
            });
        }
    }
    ~FullPipe()
    {
        CloseHandle(read_);  // the filler's write ends
        if (filler_.joinable()) {
            filler_.join();
        }
        CloseHandle(write_);
    }
    HANDLE WriteEnd() const { return write_; }

private:
    HANDLE read_ = NULL;
    HANDLE write_ = NULL;
    std::thread filler_;
};

TEST(HeadlessOutput, AStandardErrorNobodyReadsDoesNotKeepTheTerminalFromEnding)
{
    TerminalTestLock lock;
    FullPipe errors;
    TemporaryFile output(L"blocked-errors");
    OutputCatcher outputFile(output.Path());
    LaunchSetting setting;
    setting.output = outputFile.Handle();
    setting.error = errors.WriteEnd();
    LaunchedProgram terminal;
    // A collector whose host is not found: the forwarding thread has that to tell at once.
    ASSERT_TRUE(terminal.Start(PathBesideProgram(L"vornak-terminal.exe"),
                               {L"--headless", L"--forward", L"syslog+tcp://no-such-host.invalid:514"}, setting));
    HWND window = NULL;
    for (ULONGLONG began = GetTickCount64(); window == NULL && GetTickCount64() - began < EndMs; Sleep(10)) {
        window = FindTerminalOf(terminal.Id());
    }
    ASSERT_TRUE(window != NULL && WaitUntilHandlingMessages(window));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("a line"));
    ProgramRun stop = RunTerminalCommand({L"--stop", L"--timeout", L"20"});
    EXPECT_EQ(0, stop.exitCode) << stop.errors;
    EXPECT_EQ(0, terminal.Wait(EndMs));
    RunningTerminal next;
    EXPECT_TRUE(next.Start());
    EXPECT_EQ(0, next.Stop());
    Lines written = SplitLines(output.Text());
    ASSERT_EQ(1u, written.size());
    EXPECT_EQ("log       a line", written[0].substr(13));
}

// Once WM_ENDSESSION returns the system may end the process: every line is written by then.
TEST(HeadlessOutput, AtLogoffEveryLineWaitingIsWrittenBeforeTheSessionEnds)
{
    TerminalTestLock lock;
    TerminalInProcess terminal(TerminalInProcess::Mode::Headless);
    ASSERT_TRUE(terminal.Start());
    Lines expected;
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("line %03d before the logoff", i));
        char text[64];
        snprintf(text, sizeof(text), "log       line %03d before the logoff", i);
        expected.push_back(text);
    }
    EXPECT_EQ(TRUE, SendMessageW(terminal.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    SendMessageW(terminal.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    Lines written = SplitLines(terminal.Output());
    for (std::string& line : written) {
        line.erase(0, 13);  // the time
    }
    EXPECT_EQ(expected, written);
    EXPECT_FALSE(IsWindow(terminal.Window()));
    EXPECT_EQ(0, terminal.Stop());
    EXPECT_EQ("", terminal.Errors());
}

// The lines of the output so far once it holds count of them (or what it held within 10 s).
Lines WaitForLines(const RunningTerminal& terminal, size_t count)
{
    Lines lines = terminal.LinesWithoutTime();
    for (int tries = 0; lines.size() < count && tries < 200; ++tries) {
        Sleep(50);
        lines = terminal.LinesWithoutTime();
    }
    return lines;
}

TEST(HeadlessOutput, OutputDebugStringLinesJoinTheHostsLinesNamingTheirWriter)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start({L"--capture-ods"}));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("from the library"));
    HANDLE mayEnd = CreateEventW(NULL, TRUE, FALSE, L"vornak-headless-ods-writer-may-end");
    CapturedProgram writer;
    ASSERT_TRUE(writer.Start(PathBesideProgram(L"ods-writer.exe"),
                             {L"vornak-headless-ods-writer-may-end", L"one\ntwo\r\n", L"three"}));
    std::string from = "ods       pid=" + std::to_string(writer.ProcessId()) + " ods-writer.exe ";
    Lines expected = {"log       from the library", from + "one", from + "two", from + "three"};
    EXPECT_EQ(expected, WaitForLines(terminal, expected.size()));
    SetEvent(mayEnd);
    EXPECT_EQ(0, writer.Wait(EndMs));
    CloseHandle(mayEnd);
    EXPECT_EQ(0, terminal.Stop());
    EXPECT_EQ("", terminal.Errors());

    // Another monitor has the buffer: said once, and the hosts' lines are taken all the same.
    DebugOutputListener other;
    std::string refusal;
    ASSERT_TRUE(other.Start(CaptureScope::Session, [](CapturedText&&) {}, &refusal)) << refusal;
    RunningTerminal beside;
    ASSERT_TRUE(beside.Start({L"--capture-ods"}));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("still taken"));
    EXPECT_EQ(0, beside.Stop());
    EXPECT_EQ(Lines{"log       still taken"}, beside.LinesWithoutTime());
    EXPECT_EQ("vornak-terminal: another debug-output monitor is running: OutputDebugString lines are not captured "
              "(close it, then turn capture on again)\n",
              beside.Errors());
}

TEST(HeadlessOutput, ARotationWithoutAnOutputFileIsRefusedWithTheUsage)
{
    ProgramRun run = RunTerminalCommand({L"--headless", L"--rotate", L"10M"});
    EXPECT_EQ(64, run.exitCode);
    EXPECT_EQ(0u, run.errors.find("vornak-terminal: --rotate goes with --headless --output FILE or with --log FILE\nUsage: vornak-terminal"))
        << run.errors;
}

} // namespace
