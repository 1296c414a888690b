#include "terminal_test_lock.h"

namespace {

const char LockName[] = "VornakDebugTerminalTests";

}  // namespace

TerminalTestLock::TerminalTestLock() : mutex_(CreateMutexA(NULL, FALSE, LockName))
{
    // An abandoned lock (a test that crashed) is ours all the same.
    WaitForSingleObject(mutex_, INFINITE);
}

TerminalTestLock::~TerminalTestLock()
{
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}
