// The commands that work on the console: both programs run them, the window program when
// started with arguments, the console program always.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "standard_streams.h"
#include "terminal_arguments.h"

// The arguments after the program name, split as the system splits a command line.
std::vector<std::wstring> ProgramArguments();

// Runs a command other than the window (headless, stop, wait, help) and returns its exit status.
// Ctrl+C ends the headless terminal once every line is written, and interrupts a wait (status 1).
int RunConsoleCommand(HINSTANCE instance, const TerminalOptions& options, const StandardStreams& streams);
