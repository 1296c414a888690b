// The terminal's command line.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "exit_status.h"
#include "headless_options.h"
#include "terminal_texts.h"

enum class TerminalCommand {
    Window,    // the list window [--rules FILE] [--history LINES] [--log FILE [--rotate BYTES [--keep N]] [--format F]] [LOG | --view LOG]
    Headless,  // --headless [--output FILE [--rotate BYTES [--keep N]]] [--format text|json]
    Stop,      // --stop [--timeout SECONDS]
    Wait,      // --wait [--timeout SECONDS]
    Help,      // --help
};

constexpr unsigned DefaultTimeoutSeconds = 10;

struct TerminalOptions : HeadlessOptions {
    TerminalCommand command = TerminalCommand::Window;
    std::wstring rulesPath;  // the window's rules from this file; empty: the remembered rules
    // The window's log (--log FILE), written as the headless output's options say; empty: none.
    std::wstring logPath;
    std::wstring openPath;   // a saved log the window shows at the start (as File > Open); empty: none
    bool viewer = false;      // --view: openPath in a window of its own, which takes no lines
    size_t historyLines = 0;  // --history LINES: the lines the window keeps; 0: the remembered number
    unsigned timeoutSeconds = DefaultTimeoutSeconds;
};

// Reads the arguments after the program name. On failure returns false with *error saying why.
bool ParseTerminalArguments(const std::vector<std::wstring>& arguments, TerminalOptions* options,
                            std::string* error);
