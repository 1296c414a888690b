#include "terminal_process.h"

#include "recording_window.h"

namespace {

const DWORD StartTimeoutMilliseconds = 20000;
const DWORD PollMilliseconds = 20;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchTerminalWindow(HWND window, LPARAM lParam)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    char className[64];
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && GetClassNameA(window, className, sizeof(className)) > 0 &&
        lstrcmpA(className, TerminalClassName) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool TerminalProcess::Start(const std::wstring& program)
{
    if (!process_.StartWithPipes(L"\"" + program + L"\"")) {
        return false;
    }
    for (DWORD waited = 0; waited < StartTimeoutMilliseconds; waited += PollMilliseconds) {
        WindowSearch search = {process_.Id(), NULL};
        EnumWindows(MatchTerminalWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != NULL) {
            window_ = search.found;
            return true;
        }
        DWORD exitCode = 0;
        if (process_.Wait(PollMilliseconds, &exitCode)) {
            return false;
        }
    }
    return false;
}

bool TerminalProcess::Stop(std::vector<TerminalRecord>* records)
{
    records->clear();
    if (process_.HasEnded()) {
        return false;
    }
    PostMessageW(window_, WM_CLOSE, 0, 0);

    std::string report = process_.ReadAll();
    DWORD exitCode = 1;
    process_.Wait(INFINITE, &exitCode);

    // One record a line; text-mode output may have put "\r" before each "\n".
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start);
        if (end == std::string::npos) {
            return false;
        }
        std::string line = report.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        TerminalRecord record;
        if (!ParseRecord(line, &record)) {
            return false;
        }
        records->push_back(record);
        start = end + 1;
    }
    return exitCode == 0;
}
