#include "lock_holder_process.h"

namespace {

// How long a holder gets to end once its standard input has ended.
constexpr DWORD FinishTimeoutMs = 10000;

} // namespace

LockHolderProcess::LockHolderProcess(const std::wstring& clientName, DWORD milliseconds)
{
    // A holder that cannot start never says "holding": WaitUntilHolding reports it.
    process_.StartWithPipes(L"\"" + PathBesideProgram(L"netcfg-lock-holder.exe") + L"\" \"" + clientName + L"\" " +
                            std::to_wstring(milliseconds));
}

LockHolderProcess::~LockHolderProcess()
{
    Finish();
}

bool LockHolderProcess::WaitUntilHolding(DWORD timeoutMs)
{
    return process_.ReadUntil("holding", timeoutMs);
}

DWORD LockHolderProcess::Finish()
{
    return process_.Finish(FinishTimeoutMs);
}

DWORD LockHolderProcess::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    return process_.Wait(timeoutMs, &code) ? code : STILL_ACTIVE;
}
