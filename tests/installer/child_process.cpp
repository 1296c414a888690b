#include "child_process.h"

#include <gtest/gtest.h>

namespace {

bool IsOverridden(const wchar_t* entry, const Environment& extra)
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
std::wstring EnvironmentBlock(const Environment& extra)
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

RunningProgram Start(const std::wstring& commandLine, const Environment& environment)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE inputRead = NULL, inputWrite = NULL, outputRead = NULL, outputWrite = NULL;
    RunningProgram program;
    if (!CreatePipe(&inputRead, &inputWrite, &inheritable, 0) ||
        !CreatePipe(&outputRead, &outputWrite, &inheritable, 0)) {
        ADD_FAILURE() << "CreatePipe failed: " << GetLastError();
        return program;
    }
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    std::wstring mutableLine = commandLine;
    std::wstring block = environment.empty() ? std::wstring() : EnvironmentBlock(environment);
    BOOL ok = CreateProcessW(NULL, &mutableLine[0], NULL, NULL, TRUE, CREATE_UNICODE_ENVIRONMENT,
                             block.empty() ? NULL : &block[0], NULL, &startup, &started);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    if (!ok) {
        ADD_FAILURE() << "CreateProcessW failed with " << GetLastError();
        CloseHandle(inputWrite);
        CloseHandle(outputRead);
        return program;
    }
    CloseHandle(started.hThread);
    program.process = started.hProcess;
    program.input = inputWrite;
    program.output = outputRead;
    return program;
}

std::string ReadAll(HANDLE pipe)
{
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(pipe, chunk, sizeof(chunk), &got, NULL) && got > 0) {
        text.append(chunk, got);
    }
    return text;
}

} // namespace

ProgramRun RunProgram(const std::wstring& commandLine, const Environment& environment)
{
    ProgramRun run;
    RunningProgram program = Start(commandLine, environment);
    if (program.process == NULL) {
        return run;
    }
    CloseHandle(program.input);
    program.input = NULL;
    run.output = WithoutCarriageReturns(ReadAll(program.output));
    run.exitCode = FinishProgram(program);
    return run;
}

RunningProgram StartProgram(const std::wstring& commandLine)
{
    return Start(commandLine, {});
}

bool WaitForOutput(RunningProgram& program, const std::string& expected)
{
    std::string seen;
    char c;
    DWORD got = 0;
    while (seen.find(expected) == std::string::npos) {
        if (!ReadFile(program.output, &c, 1, &got, NULL) || got == 0) {
            return false;
        }
        seen.push_back(c);
    }
    return true;
}

DWORD FinishProgram(RunningProgram& program)
{
    DWORD exitCode = 0xFFFFFFFF;
    if (program.input != NULL) {
        CloseHandle(program.input);
    }
    if (program.process != NULL) {
        WaitForSingleObject(program.process, INFINITE);
        GetExitCodeProcess(program.process, &exitCode);
        CloseHandle(program.process);
    }
    if (program.output != NULL) {
        CloseHandle(program.output);
    }
    program = RunningProgram();
    return exitCode;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}
