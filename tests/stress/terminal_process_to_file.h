// recording-terminal.exe as a process of its own, its report going to a temporary file. Under Wine
// a report of 160,000 records takes over a minute through a pipe and a second or two through a file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "terminal_record.h"

class TerminalProcessToFile {
public:
    TerminalProcessToFile() = default;
    ~TerminalProcessToFile();
    TerminalProcessToFile(const TerminalProcessToFile&) = delete;
    TerminalProcessToFile& operator=(const TerminalProcessToFile&) = delete;

    // Returns once the terminal's window can be found (false after 20 s or on failure).
    bool Start();
    // Closes the window, waits for the process and reads what it recorded. False if it failed or
    // its report could not be read whole.
    bool Stop(std::vector<TerminalRecord>* records);

private:
    std::wstring reportPath_;
    ChildProcess process_;
    HWND window_ = NULL;
};
