#include "helper_process.h"

#include <stdio.h>

#include "bench_names.h"

HelperProcess::~HelperProcess()
{
    if (process_.hProcess != NULL) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, INFINITE);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    if (output_ != NULL) {
        CloseHandle(output_);
    }
}

bool HelperProcess::Start(const wchar_t* program, const std::wstring& arguments, std::string* error)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE childOutput = NULL;
    if (!CreatePipe(&output_, &childOutput, &inheritable, 0)) {
        *error = "cannot create a pipe";
        return false;
    }
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);

    std::wstring path = PathBesideThis(program);
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    BOOL started =
        CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process_);
    CloseHandle(childOutput);
    if (!started) {
        process_ = PROCESS_INFORMATION();
        *error = "cannot start the helper (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    std::string line;
    if (!ReadLine(&line) || line != HelperReadyLine) {
        *error = "the helper ended before it was ready";
        return false;
    }
    return true;
}

bool HelperProcess::Finish(LineTally* tally, unsigned long long* rejected, std::string* error)
{
    std::string line;
    bool read = ReadLine(&line);
    WaitForSingleObject(process_.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = PROCESS_INFORMATION();
    if (!read || sscanf(line.c_str(), HelperReportFormat, &tally->lines, &tally->bytes, &tally->digest,
                        rejected) != 4) {
        *error = "the helper's report is missing or malformed";
        return false;
    }
    if (exitCode != 0) {
        *error = "the helper ended with status " + std::to_string(exitCode);
        return false;
    }
    return true;
}

bool HelperProcess::ReadLine(std::string* line)
{
    for (;;) {
        size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            *line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            // Text-mode output ends its lines with "\r\n".
            if (!line->empty() && line->back() == '\r') {
                line->pop_back();
            }
            return true;
        }
        char chunk[256];
        DWORD read = 0;
        if (!ReadFile(output_, chunk, sizeof(chunk), &read, NULL) || read == 0) {
            return false;
        }
        pending_.append(chunk, read);
    }
}

std::wstring PathBesideThis(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + fileName;
}
