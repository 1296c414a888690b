#include "terminal_test_lock.h"

TerminalTestLock::TerminalTestLock() : mutex_(CreateMutexA(NULL, FALSE, "VornakDebugTerminalTests"))
{
    // An abandoned lock (a test that crashed) is ours all the same.
    WaitForSingleObject(mutex_, INFINITE);
}

TerminalTestLock::~TerminalTestLock()
{
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}
