#include "captured_program.h"

namespace {

constexpr int TimedOut = -1;

} // namespace

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
