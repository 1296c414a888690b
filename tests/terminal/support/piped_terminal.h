// The real vornak-terminal.exe, headless, writing to standard output on a pipe whose reading end
// the test holds: a reader that never reads, or one that reads some lines and goes away.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "launched_program.h"
#include "non_copyable.h"
#include "temporary_file.h"

class PipedTerminal : private NonCopyable {
public:
    PipedTerminal() = default;
    ~PipedTerminal();

    // Starts it with arguments after --headless and returns once its window handles messages;
    // false after 20 s or when it ended first.
    bool Start(const std::vector<std::wstring>& arguments = {});
    HWND Window() const { return window_; }

    // Reads its output until count whole lines have come (false when it ends first).
    bool ReadLines(size_t count, std::vector<std::string>* lines);
    // Reads what is left in the pipe, until it ends; the whole lines in it.
    size_t ReadRemainingLines();
    // The reader goes away.
    void CloseReader();

    // Its exit status, or -1 when it is still running after timeoutMs.
    int Wait(DWORD timeoutMs) { return process_.Wait(timeoutMs); }
    // What it said on standard error, "\r" removed.
    std::string Errors() const { return errors_.Text(); }

private:
    TemporaryFile errors_{L"piped-errors"};
    HANDLE reader_ = NULL;
    std::string pending_;
    LaunchedProgram process_;
    HWND window_ = NULL;
};
