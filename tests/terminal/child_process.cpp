#include "child_process.h"

#include <atomic>

namespace {

constexpr DWORD RunTimeoutMs = 60000;

std::wstring QuotedCommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    // Arguments in these tests hold no quotes or trailing backslashes; a plain pair of quotes does.
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments) {
        commandLine += L" \"" + argument + L"\"";
    }
    return commandLine;
}

HANDLE InheritableFile(const std::wstring& path)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

} // namespace

std::wstring ProgramBesideTests(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + fileName;
}

TemporaryFile::TemporaryFile(const wchar_t* prefix)
{
    static std::atomic<unsigned> counter{0};
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    path_ = std::wstring(folder) + L"vornak-" + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L".txt";
    DeleteFileW(path_.c_str());
}

TemporaryFile::~TemporaryFile()
{
    DeleteFileW(path_.c_str());
}

bool TemporaryFile::Exists() const
{
    return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TemporaryFile::Text() const
{
    std::string text;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return text;
    }
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, NULL) && read > 0) {
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] != '\r') {
                text += buffer[i];
            }
        }
    }
    CloseHandle(file);
    return text;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

ChildProcess::~ChildProcess()
{
    if (process_.hProcess != NULL) {
        Wait(0);
    }
}

bool ChildProcess::Start(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    HANDLE output = InheritableFile(output_.Path());
    HANDLE errors = InheritableFile(errors_.Path());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = errors;
    std::wstring commandLine = QuotedCommandLine(program, arguments);
    BOOL started = output != INVALID_HANDLE_VALUE && errors != INVALID_HANDLE_VALUE &&
                   CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                                  &process_);
    CloseHandle(output);
    CloseHandle(errors);
    if (!started) {
        process_ = PROCESS_INFORMATION();
    }
    return started;
}

int ChildProcess::Wait(DWORD timeoutMs)
{
    if (process_.hProcess == NULL) {
        return -1;
    }
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.hProcess, &status);
    } else {
        TerminateProcess(process_.hProcess, static_cast<UINT>(-1));
        WaitForSingleObject(process_.hProcess, INFINITE);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = PROCESS_INFORMATION();
    return static_cast<int>(status);
}

bool ChildProcess::HasEnded() const
{
    return process_.hProcess == NULL || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

int RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments, std::string* errors,
               std::string* output)
{
    ChildProcess child;
    if (!child.Start(program, arguments)) {
        return -1;
    }
    int status = child.Wait(RunTimeoutMs);
    if (errors != nullptr) {
        *errors = child.Errors();
    }
    if (output != nullptr) {
        *output = child.Output();
    }
    return status;
}
