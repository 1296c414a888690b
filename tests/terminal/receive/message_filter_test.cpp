// The terminal lets the five terminal messages through the system's filter for lower-integrity
// senders on its own window, in window and in headless mode: its calls to
// ChangeWindowMessageFilterEx, recorded, compared whole with the calls expected.
#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "patched_import.h"
#include "terminal_in_process.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"

namespace {

using Calls = std::vector<std::string>;

std::mutex RecordedCallsLock;
Calls RecordedFilterCalls;
BOOL FilterReply = TRUE;
DWORD FilterReplyError = 0;

std::string Hex(unsigned long long value)
{
    char text[32];
    snprintf(text, sizeof(text), "0x%llx", value);
    return text;
}

std::string MessageName(UINT message)
{
    switch (message) {
    case WM_DROPFILES: return "WM_DROPFILES";
    case WM_COPYDATA: return "WM_COPYDATA";
    case 0x0049: return "WM_COPYGLOBALDATA";
    default: break;
    }
    for (const char* name : VornakTerminalMessageNames) {
        if (message == RegisterWindowMessageA(name)) {
            return name;
        }
    }
    return "message " + Hex(message);
}

std::string ActionName(DWORD action)
{
    switch (action) {
    case MSGFLT_ALLOW: return "MSGFLT_ALLOW";
    case MSGFLT_DISALLOW: return "MSGFLT_DISALLOW";
    case MSGFLT_RESET: return "MSGFLT_RESET";
    default: return "action " + Hex(action);
    }
}

// The recording double: one line per call, the window named by its handle.
BOOL WINAPI RecordFilterChange(HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT change)
{
    std::lock_guard<std::mutex> hold(RecordedCallsLock);
    RecordedFilterCalls.push_back("window " + Hex(reinterpret_cast<UINT_PTR>(window)) + ", " + MessageName(message) +
                                  ", " + ActionName(action) + ", " +
                                  (change == NULL ? "no result wanted" : "result wanted"));
    SetLastError(FilterReplyError);
    return FilterReply;
}

Calls RecordedCalls()
{
    std::lock_guard<std::mutex> hold(RecordedCallsLock);
    return RecordedFilterCalls;
}

Calls ExpectedCalls(HWND window)
{
    std::string prefix = "window " + Hex(reinterpret_cast<UINT_PTR>(window)) + ", ";
    return {
        prefix + VORNAK_WM_DEBUG_MESSAGE + ", MSGFLT_ALLOW, no result wanted",
        prefix + VORNAK_WM_LOG_MESSAGE + ", MSGFLT_ALLOW, no result wanted",
        prefix + VORNAK_WM_STATISTIC_MESSAGE + ", MSGFLT_ALLOW, no result wanted",
        prefix + VORNAK_WM_ERROR_MESSAGE + ", MSGFLT_ALLOW, no result wanted",
        prefix + VORNAK_WM_CLEAR_TERMINAL + ", MSGFLT_ALLOW, no result wanted",
    };
}

// "error 5: <the system's text>", the text as this system words it.
std::string ErrorWithSystemText(DWORD error)
{
    char systemText[512] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0,
                                  systemText, sizeof(systemText), NULL);
    std::string text(systemText, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return "error " + std::to_string(error) + (text.empty() ? "" : ": " + text);
}

class MessageFilter : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecordedFilterCalls.clear();
        FilterReply = TRUE;
        FilterReplyError = 0;
        ASSERT_TRUE(patch_.Applied());
    }

    // Runs the terminal's own code in mode until its window is closed: the window hosts send to,
    // its exit status and what it told the user.
    struct Run {
        HWND window;
        int status;
        std::string errors;
    };
    Run RunTerminal(TerminalInProcess::Mode mode)
    {
        TerminalInProcess terminal(mode);
        EXPECT_TRUE(terminal.Start());
        HWND window = terminal.Receiver();
        int status = terminal.Stop();
        return Run{window, status, terminal.Errors()};
    }

    TerminalTestLock lock_;
    PatchedImport patch_{"ChangeWindowMessageFilterEx", RecordFilterChange};
};

TEST_F(MessageFilter, HeadlessTerminalLetsTheFiveMessagesThroughOnItsWindowOnly)
{
    Run run = RunTerminal(TerminalInProcess::Mode::Headless);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(ExpectedCalls(run.window), RecordedCalls());
    EXPECT_EQ("", run.errors);
}

TEST_F(MessageFilter, WindowLetsTheFiveMessagesThroughOnItsWindowOnly)
{
    Run run = RunTerminal(TerminalInProcess::Mode::Window);
    EXPECT_EQ(0, run.status);
    // Not the three messages a drop travels in: a sandboxed program could make an elevated
    // window open a path of its choosing.
    EXPECT_EQ(ExpectedCalls(run.window), RecordedCalls());
}

TEST_F(MessageFilter, HeadlessTerminalSaysSoWhenTheSystemRefusesAndRunsOn)
{
    FilterReply = FALSE;
    FilterReplyError = ERROR_ACCESS_DENIED;
    Run run = RunTerminal(TerminalInProcess::Mode::Headless);
    EXPECT_EQ(0, run.status);
    // Every message is still tried.
    EXPECT_EQ(ExpectedCalls(run.window), RecordedCalls());
    EXPECT_EQ("vornak-terminal: lines from programs at a lower integrity level will not arrive: " +
                  ErrorWithSystemText(ERROR_ACCESS_DENIED) + "\n",
              run.errors);
}

} // namespace
