// One terminal at a time, and the commands scripts use to wait for it and to stop it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "running_terminal.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"
#include "vornakdbg32.h"

namespace {

using Lines = std::vector<std::string>;

ProgramRun RunTerminalCommand(const std::vector<std::wstring>& arguments)
{
    return RunProgram(QuotedCommandLine(PathBesideProgram(L"vornak-terminal.exe"), arguments));
}

TEST(TerminalInstance, SecondTerminalIsRefusedAndTheFirstKeepsItsOutput)
{
    TerminalTestLock lock;
    RunningTerminal first;
    ASSERT_TRUE(first.Start());
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("before the second start"));

    TemporaryFile secondOutput(L"second");
    ProgramRun second = RunTerminalCommand({L"--headless", L"--output", secondOutput.Path()});
    EXPECT_EQ(2, second.exitCode);
    EXPECT_EQ("vornak-terminal: a debug terminal is already running (a window of class VornakDebugTerminal "
              "exists); only one can receive the lines: close it first, or stop it with vornak-terminal --stop\n",
              second.errors);
    EXPECT_FALSE(secondOutput.Exists());

    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("after the second start"));
    ASSERT_EQ(0, first.Stop());
    Lines expected = {
        "log       before the second start",
        "log       after the second start",
    };
    EXPECT_EQ(expected, first.LinesWithoutTime());
}

TEST(TerminalInstance, StopEndsTheRunningTerminalWithEveryLineWritten)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakStat_Message("sample %d", i));
    }
    ProgramRun stop = RunTerminalCommand({L"--stop"});
    EXPECT_EQ(0, stop.exitCode);
    EXPECT_EQ("", stop.errors);
    EXPECT_EQ(nullptr, FindWindowA(VORNAK_TERMINAL_CLASS, NULL));

    EXPECT_EQ(0, terminal.Stop());  // already ended: this collects its exit status
    Lines lines = terminal.LinesWithoutTime();
    ASSERT_EQ(100u, lines.size());
    EXPECT_EQ("statistic sample 0", lines.front());
    EXPECT_EQ("statistic sample 99", lines.back());
}

TEST(TerminalInstance, StopWithNoTerminalRunningSaysSoAndSucceeds)
{
    TerminalTestLock lock;
    ProgramRun stop = RunTerminalCommand({L"--stop"});
    EXPECT_EQ(0, stop.exitCode);
    EXPECT_EQ("vornak-terminal: no debug terminal is running\n", stop.errors);
}

TEST(TerminalInstance, WaitSucceedsWhileATerminalRunsAndTimesOutWithoutOne)
{
    TerminalTestLock lock;
    ProgramRun wait = RunTerminalCommand({L"--wait", L"--timeout", L"1"});
    EXPECT_EQ(1, wait.exitCode);
    EXPECT_EQ("vornak-terminal: no debug terminal appeared within 1 s\n", wait.errors);

    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    EXPECT_EQ(0, RunTerminalCommand({L"--wait", L"--timeout", L"1"}).exitCode);
}

TEST(TerminalInstance, HeadlessWithoutAnOutputFileWritesToStandardOutput)
{
    TerminalTestLock lock;
    CapturedProgram terminal;
    ASSERT_TRUE(terminal.Start(PathBesideProgram(L"vornak-terminal.exe"), {L"--headless"}));
    HWND window = NULL;
    for (int tries = 0; tries < 2000 && window == NULL && !terminal.HasEnded(); ++tries) {
        Sleep(10);
        window = FindTerminalOf(terminal.ProcessId());
    }
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakError_Message("to standard output"));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, terminal.Wait(20000));

    Lines lines = SplitLines(terminal.Output());
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("error     to standard output", lines[0].substr(13));
}

TEST(TerminalInstance, UnknownArgumentExitsWithSixtyFourAndTheUsage)
{
    ProgramRun run = RunTerminalCommand({L"--headles"});
    EXPECT_EQ(64, run.exitCode);
    EXPECT_EQ(0u, run.errors.find("vornak-terminal: unknown argument \"--headles\"\nUsage: vornak-terminal"))
        << run.errors;
}

} // namespace
