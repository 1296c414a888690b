// vornak-send exits with the status the library returns for the same call, with and without a
// terminal, and sends exactly the line the library call would.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "running_terminal.h"
#include "terminal_test_lock.h"
#include "vornakdbg32.h"

namespace {

using Lines = std::vector<std::string>;

struct SenderCase {
    std::vector<std::wstring> arguments;
    // The same request made to the library directly; run on a thread of its own, so a task name
    // it registers labels no other line.
    std::function<int()> libraryCall;
};

const std::vector<SenderCase>& SenderCases()
{
    static const std::vector<SenderCase> cases = {
        {{L"debug", L"count=5"}, [] { return VornakDbg_Message("%s", "count=5"); }},
        {{L"log", L"two", L"words"}, [] { return VornakLog_Message("%s", "two words"); }},
        {{L"stat", L"100% %s %n safe"}, [] { return VornakStat_Message("%s", "100% %s %n safe"); }},
        {{L"error", L"disk full"}, [] { return VornakError_Message("%s", "disk full"); }},
        {{L"separator"}, [] { return VornakDbg_Separator(0); }},
        {{L"separator", L"="}, [] { return VornakDbg_Separator('='); }},
        {{L"clear"}, [] { return VornakDbg_ClearTerminal(); }},
        {{L"--task", L"Script", L"log", L"step 1"},
         [] {
             int status = VornakDbg_RegisterTask("Script");
             return status != 0 ? status : VornakLog_Message("%s", "step 1");
         }},
        {{L"--task", L"50%s", L"debug", L"x"},
         [] {
             int status = VornakDbg_RegisterTask("50%s");
             return status != 0 ? status : VornakDbg_Message("%s", "x");
         }},
    };
    return cases;
}

int OnOwnThread(const std::function<int()>& call)
{
    int status = -1;
    std::thread([&] { status = call(); }).join();
    return status;
}

int RunSender(const std::vector<std::wstring>& arguments, std::string* errors = nullptr)
{
    return RunProgram(PathBesideProgram(L"vornak-send.exe"), arguments, errors);
}

TEST(SenderStatus, WithoutATerminalEveryRequestExitsWithTheLibrarysStatusTwo)
{
    TerminalTestLock lock;
    ASSERT_EQ(nullptr, FindWindowA("VornakDebugTerminal", NULL));
    for (const SenderCase& sent : SenderCases()) {
        int libraryStatus = OnOwnThread(sent.libraryCall);
        EXPECT_EQ(2, libraryStatus);
        std::string errors;
        EXPECT_EQ(libraryStatus, RunSender(sent.arguments, &errors));
        EXPECT_EQ("vornak-send: no debug terminal is running (status 2)\n", errors);
    }
}

TEST(SenderStatus, WithATerminalEveryRequestExitsWithZeroAndSendsWhatTheLibraryCallSends)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    for (const SenderCase& sent : SenderCases()) {
        int libraryStatus = OnOwnThread(sent.libraryCall);
        EXPECT_EQ(0, libraryStatus);
        EXPECT_EQ(libraryStatus, RunSender(sent.arguments));
    }
    ASSERT_EQ(0, terminal.Stop());

    // Each line twice: first from the library call, then from the sender.
    Lines expected = {
        "debug     count=5",
        "debug     count=5",
        "log       two words",
        "log       two words",
        "statistic 100% %s %n safe",
        "statistic 100% %s %n safe",
        "error     disk full",
        "error     disk full",
        "separator ----------------------------------------------------------------------",
        "separator ----------------------------------------------------------------------",
        "separator ======================================================================",
        "separator ======================================================================",
        "clear     terminal cleared",
        "clear     terminal cleared",
        "log       Script : step 1",
        "log       Script : step 1",
        "debug     50%s : x",
        "debug     50%s : x",
    };
    EXPECT_EQ(expected, terminal.LinesWithoutTime());
}

TEST(SenderStatus, TaskNameOfTwoHundredFiftyFiveCharactersIsTakenOneMoreExitsWithThree)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    std::string longest(255, 'n');
    std::string tooLong(256, 'n');

    EXPECT_EQ(0, OnOwnThread([&] { return VornakDbg_RegisterTask(longest.c_str()); }));
    EXPECT_EQ(0, RunSender({L"--task", std::wstring(longest.begin(), longest.end()), L"log", L"x"}));
    EXPECT_EQ(3, OnOwnThread([&] { return VornakDbg_RegisterTask(tooLong.c_str()); }));
    std::string errors;
    EXPECT_EQ(3, RunSender({L"--task", std::wstring(tooLong.begin(), tooLong.end()), L"log", L"x"}, &errors));
    EXPECT_EQ("vornak-send: the task name was refused (over 255 characters, or the atom table is full) "
              "(status 3)\n",
              errors);
}

TEST(SenderStatus, ArgumentsThatMakeNoSenseExitWithSixtyFourAndTheUsage)
{
    const std::vector<std::vector<std::wstring>> badArguments = {
        {},
        {L"shout", L"x"},
        {L"debug"},
        {L"separator", L"ab"},
        {L"clear", L"now"},
        {L"--task"},
        {L"--task", L"a", L"separator"},
        {L"--colour", L"red", L"log", L"x"},
    };
    for (const std::vector<std::wstring>& arguments : badArguments) {
        std::string errors;
        EXPECT_EQ(64, RunSender(arguments, &errors));
        EXPECT_NE(std::string::npos, errors.find("Usage: vornak-send")) << errors;
    }
}

TEST(SenderStatus, WithoutTheLibraryBesideItTheSenderExitsWithSixtyNine)
{
    TemporaryFile lonelyCopy(L"send-copy");
    std::wstring program = lonelyCopy.Path() + L".exe";
    ASSERT_TRUE(CopyFileW(PathBesideProgram(L"vornak-send.exe").c_str(), program.c_str(), FALSE));
    std::string errors;
    int status = RunProgram(program, {L"log", L"x"}, &errors);
    DeleteFileW(program.c_str());

    EXPECT_EQ(69, status);
    EXPECT_EQ(0u, errors.find("vornak-send: cannot load VORNAKDBG32.dll")) << errors;
}

} // namespace
