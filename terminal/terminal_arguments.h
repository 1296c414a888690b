// The terminal's command line.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "rotating_output.h"
#include "syslog_destination.h"
#include "terminal_texts.h"

enum class TerminalCommand {
    Window,    // the list window [--rules FILE]
    Headless,  // --headless [--output FILE [--rotate BYTES [--keep N]]] [--format text|json]
    Stop,      // --stop [--timeout SECONDS]
    Wait,      // --wait [--timeout SECONDS]
    Help,      // --help
};

constexpr unsigned DefaultTimeoutSeconds = 10;

// How headless output reads: the terminal's text lines, or one JSON object a line.
enum class OutputFormat { Text, Json };

// The largest --rotate size: 1 TiB.
constexpr uint64_t MaxRotateBytes = 1ull << 40;

struct TerminalOptions {
    TerminalCommand command = TerminalCommand::Window;
    std::wstring outputPath;  // empty: standard output
    std::wstring rulesPath;   // the window's rules from this file; empty: the remembered rules
    OutputFormat format = OutputFormat::Text;
    uint64_t rotateBytes = 0;  // 0: the output file is never rotated
    unsigned keptFiles = DefaultKeptFiles;
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
