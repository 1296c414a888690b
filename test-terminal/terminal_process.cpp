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

TerminalProcess::~TerminalProcess()
{
    if (process_.hProcess != NULL) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, INFINITE);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    if (output_ != NULL) {
        CloseHandle(output_);
    }
}

bool TerminalProcess::Start(const std::wstring& program)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE childOutput = NULL;
    if (!CreatePipe(&output_, &childOutput, &inheritable, 0)) {
        return false;
    }
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring commandLine = L"\"" + program + L"\"";
    BOOL started = CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                                  &process_);
    CloseHandle(childOutput);
    if (!started) {
        process_ = PROCESS_INFORMATION();
        return false;
    }

    for (DWORD waited = 0; waited < StartTimeoutMilliseconds; waited += PollMilliseconds) {
        WindowSearch search = {process_.dwProcessId, NULL};
        EnumWindows(MatchTerminalWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != NULL) {
            window_ = search.found;
            return true;
        }
        if (WaitForSingleObject(process_.hProcess, PollMilliseconds) == WAIT_OBJECT_0) {
            return false;
        }
    }
    return false;
}

bool TerminalProcess::Stop(std::vector<TerminalRecord>* records)
{
    records->clear();
    if (process_.hProcess == NULL) {
        return false;
    }
    PostMessageW(window_, WM_CLOSE, 0, 0);

    std::string report;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(output_, chunk, sizeof(chunk), &read, NULL) && read > 0) {
        report.append(chunk, read);
    }
    WaitForSingleObject(process_.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = PROCESS_INFORMATION();

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

std::wstring ProgramBesideThis(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + fileName;
}
