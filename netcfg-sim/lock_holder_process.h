// netcfg-lock-holder.exe, started beside the running test with its standard input and output on
// pipes: another program holding the write lock, for the simulator's tests and the installer's.
#pragma once

#include <windows.h>

#include <string>

#include "child_process.h"
#include "non_copyable.h"

class LockHolderProcess : private NonCopyable {
public:
    LockHolderProcess(const std::wstring& clientName, DWORD milliseconds);
    ~LockHolderProcess();

    // True once the holder said "holding"; false if it ended or stayed silent for timeoutMs.
    bool WaitUntilHolding(DWORD timeoutMs);
    // Ends its standard input and waits for it; returns its exit code.
    DWORD Finish();
    // Waits for it to end by itself; returns its exit code, or STILL_ACTIVE after timeoutMs.
    DWORD WaitForExit(DWORD timeoutMs);

private:
    ChildProcess process_;
};
