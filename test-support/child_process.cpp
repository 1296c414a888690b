#include "child_process.h"

namespace {

constexpr DWORD ReadPollMs = 10;
constexpr DWORD ChunkBytes = 4096;
constexpr int NotEnded = -1;

bool IsOverridden(const wchar_t* entry, const ChildEnvironment& extra)
{
    for (const auto& variable : extra) {
        std::wstring prefix = variable.first + L"=";
        if (_wcsnicmp(entry, prefix.c_str(), prefix.size()) == 0) {
            return true;
        }
    }
    return false;
}

// This process's environment with the extra variables set, replacing any of the same name.
std::wstring EnvironmentBlock(const ChildEnvironment& extra)
{
    std::wstring block;
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* entry = own; *entry != L'\0'; entry += wcslen(entry) + 1) {
        if (!IsOverridden(entry, extra)) {
            block.append(entry);
            block.push_back(L'\0');
        }
    }
    FreeEnvironmentStringsW(own);
    for (const auto& variable : extra) {
        block.append(variable.first + L"=" + variable.second);
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

HANDLE InheritableFile(const std::wstring& path)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

void CloseIfOpen(HANDLE* handle)
{
    if (*handle != NULL && *handle != INVALID_HANDLE_VALUE) {
        CloseHandle(*handle);
    }
    *handle = NULL;
}

HANDLE Launch(const std::wstring& commandLine, HANDLE input, HANDLE output, HANDLE errors,
              const ChildEnvironment& environment, DWORD* id)
{
    LaunchSetting setting;
    setting.input = input;
    setting.output = output;
    setting.error = errors;
    setting.environment = environment;
    return LaunchProcess(commandLine, setting, id);
}

// A pipe between this process and a child, the child's end inherited and ours not. childReads:
// the child reads from it (its standard input); else it writes to it.
bool CreateChildPipe(HANDLE* ours, HANDLE* childs, bool childReads)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE read = NULL;
    HANDLE write = NULL;
    if (!CreatePipe(&read, &write, &inheritable, 0)) {
        return false;
    }
    *ours = childReads ? write : read;
    *childs = childReads ? read : write;
    // The child must not inherit this end, or it would never see its input or output end.
    SetHandleInformation(*ours, HANDLE_FLAG_INHERIT, 0);
    return true;
}

// Appends to text whatever the pipe holds now, without waiting for more.
void TakeAvailable(HANDLE pipe, std::string* text)
{
    DWORD available = 0;
    while (PeekNamedPipe(pipe, NULL, 0, NULL, &available, NULL) && available > 0) {
        char chunk[ChunkBytes];
        DWORD got = 0;
        if (!ReadFile(pipe, chunk, available < ChunkBytes ? available : ChunkBytes, &got, NULL) || got == 0) {
            return;
        }
        text->append(chunk, got);
    }
}

} // namespace

HANDLE LaunchProcess(const std::wstring& commandLine, const LaunchSetting& setting, DWORD* id)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = setting.input;
    startup.hStdOutput = setting.output;
    startup.hStdError = setting.error;
    PROCESS_INFORMATION started = {};
    std::wstring mutableLine = commandLine;
    std::wstring block = setting.environment.empty() ? std::wstring() : EnvironmentBlock(setting.environment);
    if (!CreateProcessW(NULL, &mutableLine[0], NULL, NULL, TRUE, setting.creationFlags | CREATE_UNICODE_ENVIRONMENT,
                        block.empty() ? NULL : &block[0],
                        setting.workingFolder.empty() ? NULL : setting.workingFolder.c_str(), &startup, &started)) {
        return NULL;
    }
    CloseHandle(started.hThread);
    if (id != NULL) {
        *id = started.dwProcessId;
    }
    return started.hProcess;
}

const wchar_t* CommandAfterProgram(const wchar_t* commandLine)
{
    const wchar_t* at = commandLine;
    bool quoted = *at == L'"';
    for (++at; *at != L'\0' && (quoted ? *at != L'"' : *at != L' '); ++at) {
    }
    if (quoted && *at == L'"') {
        ++at;
    }
    while (*at == L' ') {
        ++at;
    }
    return at;
}

ProgramRun RunProgram(const std::wstring& commandLine, const ChildEnvironment& environment)
{
    ProgramRun run;
    HANDLE input = NULL;
    HANDLE childInput = NULL;
    HANDLE output = NULL;
    HANDLE childOutput = NULL;
    HANDLE errors = NULL;
    HANDLE childErrors = NULL;
    HANDLE process = NULL;
    DWORD id = 0;
    if (CreateChildPipe(&input, &childInput, true) && CreateChildPipe(&output, &childOutput, false) &&
        CreateChildPipe(&errors, &childErrors, false)) {
        process = Launch(commandLine, childInput, childOutput, childErrors, environment, &id);
    }
    DWORD startError = GetLastError();
    CloseIfOpen(&childInput);
    CloseIfOpen(&childOutput);
    CloseIfOpen(&childErrors);
    // Its standard input is empty from the start.
    CloseIfOpen(&input);
    if (process == NULL) {
        run.errors = "cannot start the program (error " + std::to_string(startError) + ")";
    } else {
        // Read while it runs, so that it never waits on a full pipe; once it has ended, whatever it
        // wrote is in the pipes.
        DWORD started = GetTickCount();
        bool ended = false;
        while (!ended && GetTickCount() - started < RunTimeoutMs) {
            ended = WaitForSingleObject(process, ReadPollMs) == WAIT_OBJECT_0;
            TakeAvailable(output, &run.bytes);
            TakeAvailable(errors, &run.errors);
        }
        DWORD exitCode = 0;
        if (ended && GetExitCodeProcess(process, &exitCode)) {
            run.exitCode = static_cast<int>(exitCode);
        } else {
            TerminateProcess(process, static_cast<UINT>(NotEnded));
            WaitForSingleObject(process, INFINITE);
            run.exitCode = NotEnded;
        }
        CloseHandle(process);
    }
    CloseIfOpen(&output);
    CloseIfOpen(&errors);
    run.output = WithoutCarriageReturns(run.bytes);
    run.errors = WithoutCarriageReturns(run.errors);
    return run;
}

std::wstring QuotedCommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments) {
        commandLine += L" \"" + argument + L"\"";
    }
    return commandLine;
}

ChildProcess::~ChildProcess()
{
    Terminate(1);
    CloseIfOpen(&input_);
    CloseIfOpen(&output_);
    CloseIfOpen(&process_);
}

bool ChildProcess::StartWithPipes(const std::wstring& commandLine, const ChildEnvironment& environment)
{
    HANDLE childInput = NULL;
    HANDLE childOutput = NULL;
    if (CreateChildPipe(&input_, &childInput, true) && CreateChildPipe(&output_, &childOutput, false)) {
        process_ = Launch(commandLine, childInput, childOutput, GetStdHandle(STD_ERROR_HANDLE), environment, &id_);
    }
    DWORD error = GetLastError();
    CloseIfOpen(&childInput);
    CloseIfOpen(&childOutput);
    if (process_ == NULL) {
        CloseIfOpen(&input_);
        CloseIfOpen(&output_);
        SetLastError(error);
        return false;
    }
    return true;
}

bool ChildProcess::StartWithOutputFile(const std::wstring& commandLine, const std::wstring& outputPath,
                                       const std::wstring& errorPath)
{
    HANDLE output = InheritableFile(outputPath);
    HANDLE errors = errorPath.empty() ? NULL : InheritableFile(errorPath);
    if (output != INVALID_HANDLE_VALUE && errors != INVALID_HANDLE_VALUE) {
        process_ = Launch(commandLine, GetStdHandle(STD_INPUT_HANDLE), output,
                          errors != NULL ? errors : GetStdHandle(STD_ERROR_HANDLE), {}, &id_);
    }
    DWORD error = GetLastError();
    CloseIfOpen(&output);
    CloseIfOpen(&errors);
    SetLastError(error);
    return process_ != NULL;
}

bool ChildProcess::ReadChunk()
{
    char chunk[ChunkBytes];
    DWORD got = 0;
    if (output_ == NULL || !ReadFile(output_, chunk, sizeof(chunk), &got, NULL) || got == 0) {
        return false;
    }
    pending_.append(chunk, got);
    return true;
}

std::string ChildProcess::ReadAll()
{
    while (ReadChunk()) {
    }
    std::string text;
    text.swap(pending_);
    return text;
}

bool ChildProcess::ReadUntil(const std::string& marker, DWORD timeoutMs)
{
    DWORD started = GetTickCount();
    size_t found;
    while ((found = pending_.find(marker)) == std::string::npos) {
        if (timeoutMs != INFINITE) {
            // A read would block past the deadline: look before reading.
            DWORD available = 0;
            if (output_ == NULL || !PeekNamedPipe(output_, NULL, 0, NULL, &available, NULL)) {
                return false;
            }
            if (available == 0) {
                if (GetTickCount() - started >= timeoutMs) {
                    return false;
                }
                Sleep(ReadPollMs);
                continue;
            }
        }
        if (!ReadChunk()) {
            return false;
        }
    }
    pending_.erase(0, found + marker.size());
    return true;
}

bool ChildProcess::ReadLine(std::string* line)
{
    size_t end;
    while ((end = pending_.find('\n')) == std::string::npos) {
        if (!ReadChunk()) {
            return false;
        }
    }
    *line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    // Text-mode output ends its lines with "\r\n".
    if (!line->empty() && line->back() == '\r') {
        line->pop_back();
    }
    return true;
}

void ChildProcess::CloseInput()
{
    CloseIfOpen(&input_);
}

DWORD ChildProcess::Finish(DWORD timeoutMs)
{
    CloseInput();
    DWORD exitCode = STILL_ACTIVE;
    return Wait(timeoutMs, &exitCode) ? exitCode : STILL_ACTIVE;
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* exitCode)
{
    if (process_ == NULL || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(process_, exitCode) != 0;
}

void ChildProcess::Terminate(UINT exitCode)
{
    if (!HasEnded()) {
        TerminateProcess(process_, exitCode);
        WaitForSingleObject(process_, INFINITE);
    }
}

bool ChildProcess::HasEnded() const
{
    return process_ == NULL || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring PathBesideProgram(const std::wstring& fileName)
{
    return ProgramFolder() + fileName;
}

std::string WithoutCarriageReturns(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (c != '\r') {
            result.push_back(c);
        }
    }
    return result;
}

std::wstring TemporaryFolder()
{
    wchar_t folder[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}
