// The real vornak-terminal.exe, headless, writing to a temporary file: started for one test and
// stopped as a script would stop it, with a close request.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "captured_program.h"

class RunningTerminal {
public:
    RunningTerminal() = default;
    ~RunningTerminal();

    // Starts the terminal (with arguments after --output FILE) and returns once its window exists
    // (false after 20 s or if it ended).
    bool Start(const std::vector<std::wstring>& arguments = {});
    // Posts WM_CLOSE and waits for the process; returns its exit status.
    int Stop();

    // What it wrote, one entry per line, with the time column ("HH:MM:SS.mmm ") taken off:
    // "error     disk full".
    std::vector<std::string> LinesWithoutTime() const;
    std::string OutputText() const { return output_.Text(); }
    std::string Errors() const { return process_.Errors(); }
    const std::wstring& OutputPath() const { return output_.Path(); }
    HWND Window() const { return window_; }

private:
    TemporaryFile output_{L"terminal"};
    CapturedProgram process_;
    HWND window_ = NULL;
};

// The terminal's window owned by process processId, or NULL.
HWND FindTerminalOf(DWORD processId);
// The window the user sees of the terminal running in that process; NULL when there is none.
HWND FindFrameOf(DWORD processId);

// Waits until window's thread handles messages: hosts can find the window while it is still
// being created, before its controls exist. False after 20 s.
bool WaitUntilHandlingMessages(HWND window);
