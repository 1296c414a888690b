// One terminal at a time, and the commands scripts use to wait for it and to stop it.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "instance_control.h"
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

// A claim held on a thread of this test, with no window: a terminal starting, or writing its last
// lines. It ends when asked to (or when the test lets it go).
class WindowlessTerminal {
public:
    WindowlessTerminal()
        : thread_([this] {
              std::string why;
              claimed_ = ClaimSingleInstance(&claim_, &why);
              SetEvent(ready_);
              HANDLE ends[2] = {claim_.stopRequest, letGo_};
              WaitForMultipleObjects(2, ends, FALSE, INFINITE);
              ReleaseInstance(&claim_);
          })
    {
        WaitForSingleObject(ready_, INFINITE);
    }
    ~WindowlessTerminal()
    {
        SetEvent(letGo_);
        thread_.join();
        CloseHandle(ready_);
        CloseHandle(letGo_);
    }
    bool Claimed() const { return claimed_; }

private:
    HANDLE ready_ = CreateEventW(NULL, TRUE, FALSE, NULL);
    HANDLE letGo_ = CreateEventW(NULL, TRUE, FALSE, NULL);
    InstanceClaim claim_;
    bool claimed_ = false;
    std::thread thread_;
};

TEST(TerminalInstance, AClaimWithoutAWindowIsSaidToBeStartingOrEndingAndStopWaitsForIt)
{
    TerminalTestLock lock;
    WindowlessTerminal holder;
    ASSERT_TRUE(holder.Claimed());

    InstanceClaim second;
    std::string why;
    EXPECT_FALSE(ClaimSingleInstance(&second, &why));
    EXPECT_EQ("another debug terminal is starting or ending (it holds the claim but has no window now); try again in "
              "a moment, or wait for it to end with vornak-terminal --stop",
              why);
    ProgramRun start = RunTerminalCommand({L"--headless"});
    EXPECT_EQ(2, start.exitCode);
    EXPECT_EQ("vornak-terminal: " + why + "\n", start.errors);
    // The console program says it on the console rather than start a window program that cannot run.
    ProgramRun window = RunProgram(QuotedCommandLine(PathBesideProgram(L"vornak-terminal.com"), {}));
    EXPECT_EQ(2, window.exitCode);
    EXPECT_EQ("vornak-terminal: " + why + "\n", window.errors);

    // The stop request reaches it without a window, and --stop waits until it has given the claim up.
    ProgramRun stop = RunTerminalCommand({L"--stop"});
    EXPECT_EQ(0, stop.exitCode);
    EXPECT_EQ("", stop.errors);
    ASSERT_TRUE(ClaimSingleInstance(&second, &why)) << why;
    ReleaseInstance(&second);
    stop = RunTerminalCommand({L"--stop"});
    EXPECT_EQ("vornak-terminal: no debug terminal is running\n", stop.errors);
}

TEST(TerminalInstance, AnAbandonedClaimIsFreeToTakeAndOneHeldOnOutlastsStopsTimeout)
{
    TerminalTestLock lock;
    InstanceClaim stubborn;
    std::string why;
    std::thread holder([&] {
        ASSERT_TRUE(ClaimSingleInstance(&stubborn, &why));
    });
    holder.join();
    // Its thread has ended without giving the claim up, as a terminal ended from outside would.
    InstanceClaim next;
    EXPECT_TRUE(ClaimSingleInstance(&next, &why)) << why;
    // Held by this thread from now on: --stop cannot end it and says so at its time-out.
    ProgramRun stop = RunTerminalCommand({L"--stop", L"--timeout", L"1"});
    EXPECT_EQ(1, stop.exitCode);
    EXPECT_EQ("vornak-terminal: the debug terminal did not end within 1 s\n", stop.errors);
    ReleaseInstance(&next);
    CloseHandle(stubborn.stopRequest);
    CloseHandle(stubborn.presence);
}

TEST(TerminalInstance, AStopOrWaitHoldingTheClaimsMutexOpenDoesNotKeepTheNextTerminalOut)
{
    TerminalTestLock lock;
    InstanceClaim first;
    std::string why;
    ASSERT_TRUE(ClaimSingleInstance(&first, &why)) << why;
    // As --stop opens it to learn when the terminal has ended.
    HANDLE lingering = OpenMutexW(SYNCHRONIZE, FALSE, L"Local\\VornakDebugTerminal.Instance");
    ReleaseInstance(&first);
    ASSERT_NE(nullptr, lingering);
    InstanceClaim second;
    EXPECT_TRUE(ClaimSingleInstance(&second, &why)) << why;
    ReleaseInstance(&second);
    CloseHandle(lingering);
}

TEST(TerminalInstance, UnknownArgumentExitsWithSixtyFourAndTheUsage)
{
    ProgramRun run = RunTerminalCommand({L"--headles"});
    EXPECT_EQ(64, run.exitCode);
    EXPECT_EQ(0u, run.errors.find("vornak-terminal: unknown argument \"--headles\"\nUsage: vornak-terminal"))
        << run.errors;
}

} // namespace
