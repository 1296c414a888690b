// The headless terminal's output as scripts and log collectors meet it: an output nobody reads
// does not keep the terminal (or its claim) alive, an output whose reader goes away ends it with
// the count of lines lost, JSON lines, and a file rotated at a size.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "piped_terminal.h"
#include "running_terminal.h"
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

} // namespace
