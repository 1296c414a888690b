#include "terminal_process_to_file.h"

#include "recording_window.h"
#include "terminal_process.h"

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

TerminalProcessToFile::~TerminalProcessToFile()
{
    if (process_.hProcess != NULL) {
        TerminateProcess(process_.hProcess, 1);
        EndProcess();
    }
    if (!reportPath_.empty()) {
        DeleteFileW(reportPath_.c_str());
    }
}

bool TerminalProcessToFile::Start()
{
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH || GetTempFileNameW(folder, L"rec", 0, path) == 0) {
        return false;
    }
    reportPath_ = path;
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE report = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (report == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::wstring program = ProgramBesideThis(L"recording-terminal.exe");
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = report;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    BOOL started = CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                                  &process_);
    CloseHandle(report);
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

bool TerminalProcessToFile::Stop(std::vector<TerminalRecord>* records)
{
    records->clear();
    if (process_.hProcess == NULL) {
        return false;
    }
    PostMessageW(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(process_.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    EndProcess();

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

void TerminalProcessToFile::EndProcess()
{
    WaitForSingleObject(process_.hProcess, INFINITE);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = PROCESS_INFORMATION();
}
