// A recording terminal running as a process of its own (recording-terminal.exe), as a host's
// terminal would: the test starts it, sends to it, then asks it to close and report.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "terminal_record.h"

class TerminalProcess {
public:
    // Starts the program and returns once its window can be found (false after 20 s or on failure).
    bool Start(const std::wstring& program);
    // Closes its window, collects what it recorded and waits for it to end. False if its report
    // could not be read whole.
    bool Stop(std::vector<TerminalRecord>* records);

private:
    ChildProcess process_;
    HWND window_ = NULL;
};
