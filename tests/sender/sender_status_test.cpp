// vornak-send exits with the status the library returns for the same call, with and without a
// terminal, and sends exactly the line the library call would.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "launched_program.h"
#include "running_terminal.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"
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
             return status != VORNAKDBG_STATUS_DONE ? status : VornakLog_Message("%s", "step 1");
         }},
        {{L"--task", L"50%s", L"debug", L"x"},
         [] {
             int status = VornakDbg_RegisterTask("50%s");
             return status != VORNAKDBG_STATUS_DONE ? status : VornakDbg_Message("%s", "x");
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

ProgramRun RunSender(const std::vector<std::wstring>& arguments)
{
    return RunProgram(QuotedCommandLine(PathBesideProgram(L"vornak-send.exe"), arguments));
}

TEST(SenderStatus, WithoutATerminalEveryRequestExitsWithTheLibrarysStatusTwo)
{
    TerminalTestLock lock;
    ASSERT_EQ(nullptr, FindWindowA(VORNAK_TERMINAL_CLASS, NULL));
    for (const SenderCase& sent : SenderCases()) {
        int libraryStatus = OnOwnThread(sent.libraryCall);
        EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, libraryStatus);
        ProgramRun run = RunSender(sent.arguments);
        EXPECT_EQ(libraryStatus, run.exitCode);
        EXPECT_EQ("vornak-send: no debug terminal is running (status 2)\n", run.errors);
    }
}

TEST(SenderStatus, WithATerminalEveryRequestExitsWithZeroAndSendsWhatTheLibraryCallSends)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    for (const SenderCase& sent : SenderCases()) {
        int libraryStatus = OnOwnThread(sent.libraryCall);
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, libraryStatus);
        EXPECT_EQ(libraryStatus, RunSender(sent.arguments).exitCode);
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

TEST(SenderStatus, CharactersTheCodePageCannotCarryAreSentAsQuestionMarksAndNamed)
{
    // The expected bytes are Windows-1252's.
    ASSERT_EQ(1252u, GetACP());
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    ProgramRun run = RunSender({L"--task", L"\u4e2d", L"debug", L"caf\u00e9 \u4e2d\u6587 \u4e2d \U0001F600"});
    ASSERT_EQ(0, terminal.Stop());
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, run.exitCode);
    EXPECT_EQ("vornak-send: the ANSI code page 1252 cannot carry U+4E2D U+6587 U+1F600; each was sent as '?'\n",
              run.errors);
    EXPECT_EQ(Lines{"debug     ? : caf\xE9 ?? ? ?"}, terminal.LinesWithoutTime());
}

TEST(SenderStatus, TaskNameOfTwoHundredFiftyFiveCharactersIsTakenOneMoreExitsWithThree)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    std::string longest(255, 'n');
    std::string tooLong(256, 'n');

    EXPECT_EQ(VORNAKDBG_STATUS_DONE, OnOwnThread([&] { return VornakDbg_RegisterTask(longest.c_str()); }));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE,
              RunSender({L"--task", std::wstring(longest.begin(), longest.end()), L"log", L"x"}).exitCode);
    EXPECT_EQ(VORNAKDBG_STATUS_NAME_REFUSED, OnOwnThread([&] { return VornakDbg_RegisterTask(tooLong.c_str()); }));
    ProgramRun refused = RunSender({L"--task", std::wstring(tooLong.begin(), tooLong.end()), L"log", L"x"});
    EXPECT_EQ(VORNAKDBG_STATUS_NAME_REFUSED, refused.exitCode);
    EXPECT_EQ("vornak-send: the task name was refused (over 255 characters, or the atom table is full) "
              "(status 3)\n",
              refused.errors);
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
        ProgramRun run = RunSender(arguments);
        EXPECT_EQ(64, run.exitCode);
        EXPECT_NE(std::string::npos, run.errors.find("Usage: vornak-send")) << run.errors;
    }
}

TEST(SenderStatus, WithoutTheLibraryBesideItTheSenderExitsWithSixtyNine)
{
    TemporaryFile lonelyCopy(L"send-copy");
    std::wstring program = lonelyCopy.Path() + L".exe";
    ASSERT_TRUE(CopyFileW(PathBesideProgram(L"vornak-send.exe").c_str(), program.c_str(), FALSE));
    ProgramRun run = RunProgram(QuotedCommandLine(program, {L"log", L"x"}));
    DeleteFileW(program.c_str());

    EXPECT_EQ(69, run.exitCode);
    EXPECT_EQ(0u, run.errors.find("vornak-send: cannot load VORNAKDBG32.dll")) << run.errors;
}

TEST(SenderStatus, HelpIsShownForSlashQuestionMark)
{
    ProgramRun run = RunSender({L"/?"});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(0u, run.output.find("Usage: vornak-send")) << run.output;
    EXPECT_EQ("", run.errors);
}

TEST(SenderStatus, EmptyTaskNameIsRefusedWithItsOwnMessage)
{
    ProgramRun run = RunSender({L"--task", L"", L"log", L"x"});
    EXPECT_EQ(64, run.exitCode);
    EXPECT_EQ(0u, run.errors.find("vornak-send: --task was given an empty name; name the task, or leave --task out\n"
                              "Usage: vornak-send"))
        << run.errors;
}

// A folder of its own in the temporary folder, removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder()
    {
        wchar_t temporary[MAX_PATH];
        GetTempPathW(MAX_PATH, temporary);
        path_ = std::wstring(temporary) + L"vornak-send-alone-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(path_.c_str(), NULL);
    }
    ~ScratchFolder()
    {
        for (const std::wstring& file : files_) {
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    // Copies a file from beside this test program into the folder; its new path.
    std::wstring Copy(const std::wstring& name)
    {
        std::wstring copy = path_ + name;
        files_.push_back(copy);
        return CopyFileW(PathBesideProgram(name).c_str(), copy.c_str(), FALSE) ? copy : std::wstring();
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// PATH with a folder put first, for the programs this test starts, as long as the object lives.
class PathWithFolderFirst {
public:
    explicit PathWithFolderFirst(const std::wstring& folder)
    {
        wchar_t old[32767] = L"";
        hadPath_ = GetEnvironmentVariableW(L"PATH", old, 32767) != 0;
        old_ = old;
        SetEnvironmentVariableW(L"PATH", (folder + L";" + old_).c_str());
    }
    ~PathWithFolderFirst() { SetEnvironmentVariableW(L"PATH", hadPath_ ? old_.c_str() : NULL); }

private:
    std::wstring old_;
    bool hadPath_ = false;
};

TEST(SenderStatus, TheLibraryIsTakenFromTheSendersOwnFolderOnly)
{
    TerminalTestLock lock;
    ScratchFolder alone;
    std::wstring sender = alone.Copy(L"vornak-send.exe");
    ASSERT_FALSE(sender.empty());
    TemporaryFile errors(L"send-alone");

    // VORNAKDBG32.dll lies in the current folder and in the first folder of PATH, not beside the sender.
    PathWithFolderFirst path(ProgramFolder());
    {
        OutputCatcher errorCatcher(errors.Path());
        LaunchSetting setting;
        setting.error = errorCatcher.Handle();
        setting.workingFolder = ProgramFolder();
        LaunchedProgram launched;
        ASSERT_TRUE(launched.Start(sender, {L"log", L"x"}, setting));
        EXPECT_EQ(69, launched.Wait(60000));
    }
    std::wstring expectedPath = alone.Path() + L"VORNAKDBG32.dll";
    EXPECT_EQ(0u, errors.Text().find("vornak-send: cannot load VORNAKDBG32.dll from " +
                                     std::string(expectedPath.begin(), expectedPath.end()) + " (error "))
        << errors.Text();

    // Beside it, the library is used: with no terminal running, the library's status 2.
    ASSERT_FALSE(alone.Copy(L"VORNAKDBG32.dll").empty());
    ProgramRun beside = RunProgram(QuotedCommandLine(sender, {L"log", L"x"}));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, beside.exitCode);
    EXPECT_EQ("vornak-send: no debug terminal is running (status 2)\n", beside.errors);
}

} // namespace
