// Only the window may show a dialog. Every other command tells its user on standard error, or
// where there is none, through its exit status alone: the terminal's own code, run in this test
// program with MessageBoxA and MessageBoxW replaced by a recording double, whatever its standard
// handles are.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>

#include <atomic>
#include <string>
#include <vector>

#include "patched_import.h"
#include "standard_streams.h"
#include "terminal_arguments.h"
#include "terminal_commands.h"
#include "terminal_test_lock.h"

namespace {

std::atomic<int> MessageBoxes{0};

int WINAPI RecordMessageBoxA(HWND, LPCSTR, LPCSTR, UINT)
{
    ++MessageBoxes;
    return IDOK;
}

int WINAPI RecordMessageBoxW(HWND, LPCWSTR, LPCWSTR, UINT)
{
    ++MessageBoxes;
    return IDOK;
}

// This program's standard handles replaced for the life of the object.
class ReplacedStandardHandles {
public:
    explicit ReplacedStandardHandles(HANDLE handle)
    {
        for (int i = 0; i < 3; ++i) {
            saved_[i] = GetStdHandle(Which[i]);
            SetStdHandle(Which[i], handle);
        }
    }
    ~ReplacedStandardHandles()
    {
        for (int i = 0; i < 3; ++i) {
            SetStdHandle(Which[i], saved_[i]);
        }
    }

private:
    static constexpr DWORD Which[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE saved_[3];
};

// A handle value that once was valid and is closed now.
HANDLE ClosedHandle()
{
    HANDLE handle = CreateEventW(NULL, FALSE, FALSE, NULL);
    CloseHandle(handle);
    return handle;
}

struct CommandCase {
    std::vector<std::wstring> arguments;
    int status;
};

void ExpectNoMessageBoxWithStandardHandles(HANDLE handle)
{
    TerminalTestLock lock;
    // The terminal's boxes take wide text; a narrow one, should it come back, is caught too.
    PatchedImport boxA("MessageBoxA", RecordMessageBoxA);
    PatchedImport boxW("MessageBoxW", RecordMessageBoxW);
    ASSERT_TRUE(boxW.Applied());
    StandardStreams streams;
    {
        ReplacedStandardHandles replaced(handle);
        // As the window program opens them for a command, without a console to join.
        streams = OpenStandardStreams(false);
    }
    ASSERT_EQ(nullptr, streams.output);
    ASSERT_EQ(nullptr, streams.error);
    UINT errorModeBefore = GetErrorMode();
    int runtimeModeBefore = _set_error_mode(_REPORT_ERRMODE);

    const std::wstring unreachable = L"C:\\no-such-folder-for-vornak\\lines.txt";
    const std::vector<CommandCase> cases = {
        {{L"--stop"}, 0},                                     // "no debug terminal is running"
        {{L"--wait", L"--timeout", L"1"}, 1},                 // none appeared
        {{L"--headless"}, 1},                                 // no standard output to write to
        {{L"--headless", L"--output", unreachable}, 1},       // cannot open the output file
        {{L"--headless", L"--output", unreachable, L"--rotate", L"1K"}, 1},
        {{L"--help"}, 0},                                     // usage, nowhere to write it
    };
    for (const CommandCase& command : cases) {
        TerminalOptions options;
        std::string error;
        ASSERT_TRUE(ParseTerminalArguments(command.arguments, &options, &error)) << error;
        EXPECT_EQ(command.status, RunConsoleCommand(GetModuleHandleW(NULL), options, streams));
    }
    EXPECT_EQ(0, MessageBoxes.load());
    // Nor does the system or the run-time put up one of theirs (a missing disk, a crash, an abort).
    UINT noBoxes = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;
    EXPECT_EQ(noBoxes, GetErrorMode() & noBoxes);
    EXPECT_EQ(_OUT_TO_STDERR, _set_error_mode(_REPORT_ERRMODE));

    // The double sees a message box where one is allowed: the window's.
    streams.dialogsAllowed = true;
    TellUser(streams, "shown in a message box");
    EXPECT_EQ(1, MessageBoxes.exchange(0));
    SetErrorMode(errorModeBefore);
    _set_error_mode(runtimeModeBefore);
}

TEST(NoDialogs, NoCommandButTheWindowCallsMessageBoxWithStandardHandlesMissing)
{
    ExpectNoMessageBoxWithStandardHandles(NULL);
}

TEST(NoDialogs, NoCommandButTheWindowCallsMessageBoxWithStandardHandlesInvalid)
{
    ExpectNoMessageBoxWithStandardHandles(INVALID_HANDLE_VALUE);
}

TEST(NoDialogs, NoCommandButTheWindowCallsMessageBoxWithStandardHandlesClosed)
{
    ExpectNoMessageBoxWithStandardHandles(ClosedHandle());
}

} // namespace
