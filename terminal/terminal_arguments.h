// The terminal's command line.
#pragma once

#include <string>
#include <vector>

enum class TerminalCommand {
    Window,    // the list window (no arguments)
    Headless,  // --headless [--output FILE]
    Stop,      // --stop [--timeout SECONDS]
    Wait,      // --wait [--timeout SECONDS]
    Help,      // --help
};

constexpr unsigned DefaultTimeoutSeconds = 10;

struct TerminalOptions {
    TerminalCommand command = TerminalCommand::Window;
    std::wstring outputPath;  // empty: standard output
    unsigned timeoutSeconds = DefaultTimeoutSeconds;
};

constexpr const char* TerminalUsage =
    "Usage: vornak-terminal                          show received lines in a window\n"
    "       vornak-terminal --headless [--output FILE]\n"
    "                                                write every line to FILE (or standard output)\n"
    "       vornak-terminal --wait [--timeout SECONDS]\n"
    "                                                wait until a terminal is running\n"
    "       vornak-terminal --stop [--timeout SECONDS]\n"
    "                                                ask the running terminal to end, wait for it\n"
    "At a command prompt vornak-terminal.com runs these commands on the console; Ctrl+C ends\n"
    "--headless once every line received is written.\n"
    "Exit status: 0 done; 1 failed, timed out or interrupted; 2 another terminal is already\n"
    "running; 64 bad arguments.\n";

// Reads the arguments after the program name. On failure returns false with *error saying why.
bool ParseTerminalArguments(const std::vector<std::wstring>& arguments, TerminalOptions* options,
                            std::string* error);
