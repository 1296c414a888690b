// A program under test started as a process of its own, running beside the test, with its output
// caught in files (RunProgram, in child_process.h, runs one to its end).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "temporary_file.h"

class CapturedProgram {
public:
    // Starts program with arguments (each quoted), its standard output and error caught.
    bool Start(const std::wstring& program, const std::vector<std::wstring>& arguments);
    // Waits for the end; returns the exit status, or -1 after timeoutMs (the process is then ended).
    int Wait(DWORD timeoutMs);
    bool HasEnded() const { return process_.HasEnded(); }
    DWORD ProcessId() const { return process_.Id(); }
    std::string Output() const { return output_.Text(); }
    std::string Errors() const { return errors_.Text(); }

private:
    // Declared before the process, so a child still running is ended before its files go.
    TemporaryFile output_{L"out"};
    TemporaryFile errors_{L"err"};
    ChildProcess process_;
};
