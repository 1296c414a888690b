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
        lstrcmpA(className, VORNAK_TERMINAL_CLASS) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool ReadWholeFile(const std::wstring& path, std::string* content)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char chunk[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof(chunk), &read, NULL) != 0) && read > 0) {
        content->append(chunk, read);
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

TerminalProcess::~TerminalProcess()
{
    process_.Terminate(1);
    if (!reportPath_.empty()) {
        DeleteFileW(reportPath_.c_str());
    }
}

bool TerminalProcess::Start(const std::wstring& program)
{
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH || GetTempFileNameW(folder, L"rec", 0, path) == 0) {
        return false;
    }
    reportPath_ = path;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!process_.StartWithOutputFile(commandLine, reportPath_)) {
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
    DWORD exitCode = 1;
    process_.Wait(INFINITE, &exitCode);

    std::string report;
    if (exitCode != 0 || !ReadWholeFile(reportPath_, &report)) {
        return false;
    }
    // One record a line; text-mode output puts "\r" before each "\n".
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start);
        if (end == std::string::npos) {
            return false;
        }
        size_t lineEnd = end > start && report[end - 1] == '\r' ? end - 1 : end;
        TerminalRecord record;
        if (!ParseRecord(report.substr(start, lineEnd - start), &record)) {
            return false;
        }
        records->push_back(record);
        start = end + 1;
    }
    return true;
}
