// The terminal's command line.
#pragma once

#include <string>
#include <vector>

#include "syslog_destination.h"
#include "terminal_texts.h"

enum class TerminalCommand {
    Window,    // the list window [--rules FILE]
    Headless,  // --headless [--output FILE]
    Stop,      // --stop [--timeout SECONDS]
    Wait,      // --wait [--timeout SECONDS]
    Help,      // --help
};

constexpr unsigned DefaultTimeoutSeconds = 10;

struct TerminalOptions {
    TerminalCommand command = TerminalCommand::Window;
    std::wstring outputPath;  // empty: standard output
    std::wstring rulesPath;   // the window's rules from this file; empty: the remembered rules
    unsigned timeoutSeconds = DefaultTimeoutSeconds;
    // Forwarding to syslog collectors (--forward, once or more; --forward-queue).
    std::vector<SyslogDestination> forwardTo;
    size_t forwardQueueLines = DefaultForwardQueueLines;
};

// Exit statuses of every command (the usage lists them).
constexpr int DoneExitStatus = 0;
constexpr int FailureExitStatus = 1;  // failed, timed out or interrupted
constexpr int AnotherTerminalExitStatus = 2;
constexpr int UsageExitStatus = 64;  // a command line that makes no sense (as in sysexits' EX_USAGE)

// Reads the arguments after the program name. On failure returns false with *error saying why.
bool ParseTerminalArguments(const std::vector<std::wstring>& arguments, TerminalOptions* options,
                            std::string* error);
