#include "running_terminal.h"

#include "frame_class.h"
#include "vornak_terminal_protocol.h"

namespace {

constexpr DWORD StartTimeoutMs = 20000;
constexpr DWORD StopTimeoutMs = 20000;
constexpr DWORD PollMs = 10;
// "HH:MM:SS.mmm " opens every output line.
constexpr size_t TimeColumnWidth = 13;

} // namespace

namespace {

HWND OfProcess(HWND window, DWORD processId)
{
    DWORD owner = 0;
    if (window != NULL) {
        GetWindowThreadProcessId(window, &owner);
    }
    return owner == processId ? window : NULL;
}

} // namespace

HWND FindTerminalOf(DWORD processId)
{
    return OfProcess(FindWindowA(VORNAK_TERMINAL_CLASS, NULL), processId);
}

HWND FindFrameOf(DWORD processId)
{
    return OfProcess(FindWindowW(TerminalFrameClass, NULL), processId);
}

bool WaitUntilHandlingMessages(HWND window)
{
    // A message sent from another thread is handled only once the window's thread takes messages.
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, StartTimeoutMs, NULL) != 0;
}

RunningTerminal::~RunningTerminal()
{
    if (!process_.HasEnded()) {
        Stop();
    }
}

bool RunningTerminal::Start(const std::vector<std::wstring>& arguments)
{
    std::vector<std::wstring> headless = {L"--headless", L"--output", output_.Path()};
    headless.insert(headless.end(), arguments.begin(), arguments.end());
    if (!process_.Start(PathBesideProgram(L"vornak-terminal.exe"), headless)) {
        return false;
    }
    for (DWORD waited = 0; waited < StartTimeoutMs && !process_.HasEnded(); waited += PollMs) {
        window_ = FindTerminalOf(process_.ProcessId());
        if (window_ != NULL) {
            return true;
        }
        Sleep(PollMs);
    }
    return false;
}

int RunningTerminal::Stop()
{
    if (window_ != NULL) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
    return process_.Wait(StopTimeoutMs);
}

std::vector<std::string> RunningTerminal::LinesWithoutTime() const
{
    std::vector<std::string> lines = SplitLines(output_.Text());
    for (std::string& line : lines) {
        line.erase(0, TimeColumnWidth);
    }
    return lines;
}
