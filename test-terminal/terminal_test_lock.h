// Tests that start a terminal or expect none share the window station, where FindWindowA sees every
// process's windows: each holds this lock (a named mutex) so that they take turns even when run in
// parallel.
#pragma once

#include <windows.h>

#include "non_copyable.h"

class TerminalTestLock : private NonCopyable {
public:
    TerminalTestLock();
    ~TerminalTestLock();

private:
    HANDLE mutex_;
};
