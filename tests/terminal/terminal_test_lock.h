// Every test that starts a terminal, or expects none, in this Wine prefix takes turns through one
// named mutex: FindWindowA sees every process's windows, and CTest may run tests in parallel. The
// name is the one the library's own tests use, so the two suites take turns too.
#pragma once

#include <windows.h>

class TerminalTestLock {
public:
    TerminalTestLock();
    ~TerminalTestLock();
    TerminalTestLock(const TerminalTestLock&) = delete;
    TerminalTestLock& operator=(const TerminalTestLock&) = delete;

private:
    HANDLE mutex_;
};
