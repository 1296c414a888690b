// vornak-terminal.com, the console program a command prompt finds first for "vornak-terminal":
// it runs the commands on the console and waits for them; without arguments it starts the window
// program and returns. Neither program shows a message box for any command but the window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include "file_bytes.h"
#include "frame_class.h"
#include "instance_control.h"
#include "launched_program.h"
#include "running_terminal.h"
#include "system_error_text.h"
#include "temporary_file.h"
#include "terminal_arguments.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"
#include "vornakdbg32.h"

namespace {

using Lines = std::vector<std::string>;

// Generous: a command waiting on a message box never ends, and Wine may be slow on a busy machine.
constexpr DWORD PromptMs = 60000;

const std::wstring& ConsoleProgram()
{
    static const std::wstring path = PathBesideProgram(L"vornak-terminal.com");
    return path;
}

const std::wstring& WindowProgram()
{
    static const std::wstring path = PathBesideProgram(L"vornak-terminal.exe");
    return path;
}

// The file name of the program that owns window.
std::wstring ProgramOfWindow(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    wchar_t path[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (process != NULL) {
        QueryFullProcessImageNameW(process, 0, path, &size);
        CloseHandle(process);
    }
    std::wstring name = path;
    return name.substr(name.find_last_of(L"\\/") + 1);
}

ProgramRun RunConsoleProgram(const std::vector<std::wstring>& arguments)
{
    return RunProgram(QuotedCommandLine(ConsoleProgram(), arguments));
}

HWND WaitForTerminalWindow()
{
    HWND window = NULL;
    for (DWORD waited = 0; waited < PromptMs && window == NULL; waited += 10) {
        window = FindWindowA(VORNAK_TERMINAL_CLASS, NULL);
        if (window == NULL) {
            Sleep(10);
        }
    }
    return window;
}

TEST(ConsoleProgram, HelpGoesToStandardOutput)
{
    for (const wchar_t* help : {L"--help", L"/?"}) {
        ProgramRun run = RunConsoleProgram({help});
        EXPECT_EQ(0, run.exitCode);
        EXPECT_EQ(TerminalUsage, run.output);
        EXPECT_EQ("", run.errors);
    }
}

TEST(ConsoleProgram, BadArgumentsExitWithSixtyFourAndTheUsage)
{
    ProgramRun run = RunConsoleProgram({L"--headles"});
    EXPECT_EQ(64, run.exitCode);
    EXPECT_EQ("vornak-terminal: unknown argument \"--headles\"\n" + std::string(TerminalUsage) + "\n", run.errors);
}

TEST(ConsoleProgram, RunsWaitsForAndStopsAHeadlessTerminal)
{
    TerminalTestLock lock;
    ProgramRun run = RunConsoleProgram({L"--wait", L"--timeout", L"1"});
    EXPECT_EQ(1, run.exitCode);
    EXPECT_EQ("vornak-terminal: no debug terminal appeared within 1 s\n", run.errors);

    CapturedProgram headless;
    ASSERT_TRUE(headless.Start(ConsoleProgram(), {L"--headless"}));
    EXPECT_EQ(0, RunConsoleProgram({L"--wait", L"--timeout", L"20"}).exitCode);
    EXPECT_EQ(L"vornak-terminal.com", ProgramOfWindow(FindWindowA(VORNAK_TERMINAL_CLASS, NULL)));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("through the console program"));
    run = RunConsoleProgram({L"--stop"});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.errors);
    EXPECT_EQ(nullptr, FindWindowA(VORNAK_TERMINAL_CLASS, NULL));

    EXPECT_EQ(0, headless.Wait(PromptMs));
    Lines lines = SplitLines(WithoutCarriageReturns(headless.Output()));
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("log       through the console program", lines[0].substr(13));
}

// A console takes wide characters: the terminal's own messages (UTF-8) and the hosts' lines (the
// ANSI code page, 1252 here) read there as they were written, whatever the console's code page.
// The harness prints the screen in UTF-8.
TEST(ConsoleProgram, OnAConsoleMessagesAndHostLinesShowTheCharactersTheyHold)
{
    TerminalTestLock lock;
    const std::wstring screen = PathBesideProgram(L"console-screen.exe");
    ProgramRun refused = RunProgram(QuotedCommandLine(screen, {ConsoleProgram(), L"--\u0141\u00F3d\u017A-\u65E5\u672C"}));
    EXPECT_EQ(64, refused.exitCode);
    EXPECT_EQ("vornak-terminal: unknown argument \"--\xC5\x81\xC3\xB3" "d\xC5\xBA-\xE6\x97\xA5\xE6\x9C\xAC\"\n" +
                  std::string(TerminalUsage),  // the screen's last row, blank, is not shown
              refused.output);

    CapturedProgram headless;
    ASSERT_TRUE(headless.Start(screen, {ConsoleProgram(), L"--headless"}));
    ASSERT_NE(nullptr, WaitForTerminalWindow());
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("caf\xE9 au lait"));
    EXPECT_EQ(0, RunConsoleProgram({L"--stop"}).exitCode);
    EXPECT_EQ(0, headless.Wait(PromptMs));
    Lines lines = SplitLines(headless.Output());
    ASSERT_EQ(1u, lines.size()) << headless.Output();
    EXPECT_EQ("log       caf\xC3\xA9 au lait", lines[0].substr(13));
}

TEST(ConsoleProgram, WithoutArgumentsItStartsTheWindowProgramAndReturns)
{
    TerminalTestLock lock;
    ProgramRun run = RunConsoleProgram({});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.errors);
    HWND window = WaitForTerminalWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(L"vornak-terminal.exe", ProgramOfWindow(window));

    // A second one is refused on the console, as the window program refuses it in a message box.
    run = RunConsoleProgram({});
    EXPECT_EQ(2, run.exitCode);
    EXPECT_EQ("vornak-terminal: a debug terminal is already running (a window of class VornakDebugTerminal "
              "exists); only one can receive the lines: close it first, or stop it with vornak-terminal --stop\n",
              run.errors);


    // A log named beside it opens in a viewer of its own, which --stop leaves alone.
    TemporaryFile log(L"console-viewed-log");
    ASSERT_TRUE(WriteFileBytes(log.Path(), "09:05:03.007 debug     saved\n"));
    run = RunConsoleProgram({log.Path()});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.errors);
    const std::wstring title = log.Path().substr(log.Path().find_last_of(L'\\') + 1) + L" - Vornak Debug Terminal (viewer)";
    HWND viewer = NULL;
    for (int tries = 0; tries < 500 && viewer == NULL; ++tries) {
        Sleep(20);
        viewer = FindWindowW(TerminalFrameClass, title.c_str());
    }
    ASSERT_NE(nullptr, viewer);

    EXPECT_EQ(0, RunConsoleProgram({L"--stop"}).exitCode);
    EXPECT_EQ(nullptr, FindWindowA(VORNAK_TERMINAL_CLASS, NULL));
    EXPECT_TRUE(IsWindow(viewer));
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    for (int tries = 0; tries < 500 && IsWindow(viewer); ++tries) {
        Sleep(20);
    }
    EXPECT_FALSE(IsWindow(viewer));
}

// The status bar of the terminal's window (the frame, beside the receiving window hosts find),
// read from this process: WM_GETTEXT crosses processes (GetWindowText of another process's
// window would read only its stored caption).
std::string StatusBarText()
{
    char text[512] = "";
    DWORD_PTR copied = 0;
    HWND frame = FindWindowW(TerminalFrameClass, NULL);
    SendMessageTimeoutA(FindWindowExW(frame, NULL, STATUSCLASSNAMEW, NULL), WM_GETTEXT, sizeof(text),
                        reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
    return text;
}

// The status bar's text once it is expected, or after 10 s as it is then.
std::string StatusBarTextOnceItIs(const std::string& expected)
{
    std::string status;
    for (int tries = 0; tries < 500 && status != expected; ++tries) {
        Sleep(20);
        status = StatusBarText();
    }
    return status;
}

TEST(ConsoleProgram, RulesFileGoesToTheWindowProgram)
{
    TerminalTestLock lock;
    TemporaryFile rules(L"console-rules");
    ASSERT_TRUE(WriteFileBytes(rules.Path(), "exclude 'hidden'\n"));
    ProgramRun run = RunConsoleProgram({L"--rules", rules.Path()});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.errors);
    HWND window = WaitForTerminalWindow();
    ASSERT_NE(nullptr, window);
    for (const char* line : {"shown", "hidden line", "shown too"}) {
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("%s", line));
    }
    std::string status;
    for (int tries = 0; tries < 500 && status.find("2 lines shown of 3 kept") == std::string::npos; ++tries) {
        Sleep(20);
        status = StatusBarText();
    }
    EXPECT_EQ("2 lines shown of 3 kept; following; 1 rule", status);
    EXPECT_EQ(0, RunConsoleProgram({L"--stop"}).exitCode);
}

// What the window program refuses of its arguments reaches the console with its status before
// the console program returns, so that a script sees the failure; no window is left.
TEST(ConsoleProgram, ArgumentsTheWindowProgramRefusesAreSaidWithItsStatus)
{
    TerminalTestLock lock;
    TemporaryFile rules(L"console-bad-rules");
    ASSERT_TRUE(WriteFileBytes(rules.Path(), "inclde 'adapter'\n"));
    const std::string path(rules.Path().begin(), rules.Path().end());
    const std::wstring missing = ProgramFolder() + L"no-such-log.txt";
    struct Refused {
        std::vector<std::wstring> arguments;
        std::string errors;
    };
    const std::vector<Refused> cases = {
        {{L"--rules", rules.Path()},
         "vornak-terminal: cannot use the rules file " + path +
             ": line 1: unknown rule kind \"inclde\" (include, exclude, highlight or stop)\n"},
        {{missing}, "vornak-terminal: cannot open " + std::string(missing.begin(), missing.end()) + ": " +
                        SystemErrorText(ERROR_FILE_NOT_FOUND) + "\n"},
    };
    for (const Refused& refused : cases) {
        ProgramRun run = RunConsoleProgram(refused.arguments);
        EXPECT_EQ(64, run.exitCode);
        EXPECT_EQ(refused.errors, run.errors);
        EXPECT_EQ(nullptr, FindWindowA(VORNAK_TERMINAL_CLASS, NULL));
    }
}

// A saved log named on the command line is shown in the window, through the rules given with it.
TEST(ConsoleProgram, LogNamedOnTheCommandLineIsShownInTheWindowThroughTheRulesGivenWithIt)
{
    TerminalTestLock lock;
    TemporaryFile rules(L"console-open-rules");
    ASSERT_TRUE(WriteFileBytes(rules.Path(), "exclude 'hidden'\n"));
    TemporaryFile log(L"console-open-log");
    ASSERT_TRUE(WriteFileBytes(log.Path(), "09:05:03.007 debug     shown\n"
                                           "09:05:04.500 log       hidden line\n"
                                           "09:05:04.750 error     shown too\n"));
    ProgramRun run = RunConsoleProgram({log.Path(), L"--rules", rules.Path()});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.errors);
    ASSERT_NE(nullptr, WaitForTerminalWindow());
    const std::wstring name = log.Path().substr(log.Path().find_last_of(L'\\') + 1);
    const std::string expected = "2 lines shown of 3 kept; file " + std::string(name.begin(), name.end()) +
                                 " (3 lines); Ctrl+Shift+L returns to the live lines; 1 rule";
    EXPECT_EQ(expected, StatusBarTextOnceItIs(expected));
    EXPECT_EQ(0, RunConsoleProgram({L"--stop"}).exitCode);
}

// The fewest lines --history takes: one past them drops the oldest tenth.
TEST(ConsoleProgram, HistoryGoesToTheWindowProgramWhichKeepsThatManyLines)
{
    TerminalTestLock lock;
    ProgramRun run = RunConsoleProgram({L"--history", L"10000"});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.errors);
    ASSERT_NE(nullptr, WaitForTerminalWindow());
    for (int line = 0; line <= 10000; ++line) {
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("line %d", line));
    }
    const std::string expected = "9001 lines shown of 9001 kept; 1000 oldest dropped; following";
    EXPECT_EQ(expected, StatusBarTextOnceItIs(expected));
    EXPECT_EQ(0, RunConsoleProgram({L"--stop"}).exitCode);
}

TEST(ConsoleProgram, LogFileGoesToTheWindowProgramWhichWritesEveryLineThereInTheFormAsked)
{
    TerminalTestLock lock;
    TemporaryFile log(L"console-log");
    ProgramRun run = RunConsoleProgram({L"--log", log.Path(), L"--format", L"json"});
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.errors);
    ASSERT_NE(nullptr, WaitForTerminalWindow());
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("%s", "kept while watched"));
    EXPECT_EQ(0, RunConsoleProgram({L"--stop"}).exitCode);
    std::string logged = ReadFileBytes(log.Path());
    EXPECT_NE(std::string::npos, logged.find("\"class\":\"debug\",\"text\":\"kept while watched\"}\n")) << logged;
}

struct CommandCase {
    std::vector<std::wstring> arguments;
    int status;
    // The console program started without handles has its console's: it would write there.
    bool windowProgramOnly;
};

// With no console to join and no standard handles, a message box would wait for a click that
// never comes; each command must end at once with its status instead.
void ExpectPromptEndWithoutStandardHandles(HANDLE missing)
{
    // This test program then has no console that the window program could join.
    FreeConsole();
    const std::wstring unreachable = ProgramFolder() + L"no-such-folder\\lines.txt";
    const std::vector<CommandCase> cases = {
        {{L"--stop"}, 0, false},                                    // "no debug terminal is running"
        {{L"--headles"}, 64, false},                                // unknown argument
        {{L"--wait", L"--timeout", L"1"}, 1, false},                // none appeared
        {{L"--headless", L"--output", unreachable}, 1, false}, // cannot open the output file
        {{L"--help"}, 0, false},                                    // usage, nowhere to write it
        {{L"--headless"}, 1, true},                                 // no standard output to write to
    };
    for (const std::wstring& program : {WindowProgram(), ConsoleProgram()}) {
        for (const CommandCase& command : cases) {
            if (command.windowProgramOnly && program != WindowProgram()) {
                continue;
            }
            LaunchSetting setting;
            setting.input = setting.output = setting.error = missing;
            // A console program started without a console gets a new one: kept without a window.
            setting.creationFlags = program == ConsoleProgram() ? CREATE_NO_WINDOW : 0;
            LaunchedProgram launched;
            ASSERT_TRUE(launched.Start(program, command.arguments, setting));
            std::wstring commandLine = QuotedCommandLine(program, command.arguments);
            EXPECT_EQ(command.status, launched.Wait(PromptMs)) << std::string(commandLine.begin(), commandLine.end());
        }
    }
}

TEST(ConsoleProgram, NoCommandButTheWindowWaitsOnAMessageBoxWithStandardHandlesMissing)
{
    TerminalTestLock lock;
    ExpectPromptEndWithoutStandardHandles(NULL);
}

TEST(ConsoleProgram, NoCommandButTheWindowWaitsOnAMessageBoxWithStandardHandlesInvalid)
{
    TerminalTestLock lock;
    ExpectPromptEndWithoutStandardHandles(INVALID_HANDLE_VALUE);
}

TEST(ConsoleProgram, CtrlCEndsAHeadlessTerminalWithEveryLineWritten)
{
    TerminalTestLock lock;
    // A console of this test's own, shared with the terminal, to press the keys on.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    TemporaryFile lines(L"ctrl-c");
    TemporaryFile errors(L"ctrl-c-errors");
    OutputCatcher errorCatcher(errors.Path());
    LaunchSetting setting;
    setting.error = errorCatcher.Handle();
    LaunchedProgram headless;
    ASSERT_TRUE(headless.Start(ConsoleProgram(), {L"--headless", L"--output", lines.Path()}, setting));
    ASSERT_NE(nullptr, WaitForTerminalWindow());
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("line %d", i));
    }
    // Ctrl+C reaches every process on the console; this test lets it pass (set after the start:
    // the terminal would inherit it).
    SetConsoleCtrlHandler(NULL, TRUE);
    ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    EXPECT_EQ(0, headless.Wait(PromptMs));
    SetConsoleCtrlHandler(NULL, FALSE);
    EXPECT_EQ("", errors.Text());
    Lines written = SplitLines(lines.Text());
    ASSERT_EQ(100u, written.size());
    EXPECT_EQ("debug     line 99", written.back().substr(13));
    FreeConsole();
}

// What Ctrl+C sets: the event a wait watches beside its own deadline.
TEST(ConsoleProgram, InterruptEndsAWaitLongBeforeItsTimeout)
{
    TerminalTestLock lock;
    HANDLE interrupt = CreateEventW(NULL, TRUE, FALSE, NULL);
    std::thread ctrlC([interrupt] {
        Sleep(200);
        SetEvent(interrupt);
    });
    ULONGLONG began = GetTickCount64();
    EXPECT_EQ(WaitResult::Interrupted, WaitForTerminal(3600, interrupt));
    EXPECT_LT(GetTickCount64() - began, 20000u);
    ctrlC.join();
    CloseHandle(interrupt);
}

} // namespace
