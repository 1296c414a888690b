// Runs a Windows program as a child process and collects what it printed.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

struct ProgramRun {
    DWORD exitCode = 0;
    std::string output; // standard output, "\r" removed
};

// Extra environment variables for the child, on top of this process's own.
using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

// Starts commandLine with its standard output on a pipe, waits for it and returns its output.
// Standard input is an empty pipe. Fails the calling test when the program can't be started.
ProgramRun RunProgram(const std::wstring& commandLine, const Environment& environment = {});

// A program started with pipes on both standard streams, left running.
struct RunningProgram {
    HANDLE process = NULL;
    HANDLE input = NULL;  // write end of its standard input
    HANDLE output = NULL; // read end of its standard output
};

RunningProgram StartProgram(const std::wstring& commandLine);
// Reads the program's output until it contains expected; false if it ends before that.
bool WaitForOutput(RunningProgram& program, const std::string& expected);
// Closes its standard input, waits for it to end and closes every handle.
DWORD FinishProgram(RunningProgram& program);

// This test program's own folder, with a trailing backslash: the programs under test lie there.
std::wstring ProgramFolder();
