// A program under test started with exactly the standard handles, creation flags and working
// folder a test chooses: standard error closed, a process group of its own for Ctrl+Break, a
// current folder holding a file the program must not pick up.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "non_copyable.h"

class LaunchedProgram : private NonCopyable {
public:
    LaunchedProgram() = default;
    // A program still running is ended (exit status 1).
    ~LaunchedProgram();

    bool Start(const std::wstring& program, const std::vector<std::wstring>& arguments, const LaunchSetting& setting);
    // Its exit status, or -1 when it is still running after timeoutMs.
    int Wait(DWORD timeoutMs);
    DWORD Id() const { return id_; }

private:
    HANDLE process_ = NULL;
    DWORD id_ = 0;
};

// A file opened for writing that the program's standard output or error can be handed, closed
// with the object.
class OutputCatcher : private NonCopyable {
public:
    explicit OutputCatcher(const std::wstring& path);
    ~OutputCatcher();
    HANDLE Handle() const { return handle_; }

private:
    HANDLE handle_;
};
