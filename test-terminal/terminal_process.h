// A recording terminal running as a process of its own (recording-terminal.exe), as a host's
// terminal would: the test starts it, sends to it, then asks it to close and report. The report
// goes through a temporary file: under Wine 160,000 records take over a minute through a pipe and
// a second or two through a file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "non_copyable.h"
#include "terminal_record.h"

class TerminalProcess : private NonCopyable {
public:
    TerminalProcess() = default;
    ~TerminalProcess();

    // Starts the program and returns once its window can be found (false after 20 s or on failure).
    bool Start(const std::wstring& program);
    // Closes the window, waits for the process and reads what it recorded. False if it failed or
    // its report could not be read whole.
    bool Stop(std::vector<TerminalRecord>* records);

private:
    std::wstring reportPath_;
    ChildProcess process_;
    HWND window_ = NULL;
};
