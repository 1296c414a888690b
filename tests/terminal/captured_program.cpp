#include "captured_program.h"

namespace {

constexpr DWORD RunTimeoutMs = 60000;
constexpr int TimedOut = -1;

} // namespace

std::wstring QuotedCommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    // Arguments in these tests hold no quotes or trailing backslashes; a plain pair of quotes does.
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments) {
        commandLine += L" \"" + argument + L"\"";
    }
    return commandLine;
}

bool CapturedProgram::Start(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    return process_.StartWithOutputFile(QuotedCommandLine(program, arguments), output_.Path(), errors_.Path());
}

int CapturedProgram::Wait(DWORD timeoutMs)
{
    DWORD status = 0;
    if (process_.Wait(timeoutMs, &status)) {
        return static_cast<int>(status);
    }
    process_.Terminate(static_cast<UINT>(TimedOut));
    return TimedOut;
}

int RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments, std::string* errors,
               std::string* output)
{
    CapturedProgram child;
    if (!child.Start(program, arguments)) {
        return TimedOut;
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
