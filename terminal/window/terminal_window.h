// The terminal as a window people look at.
#pragma once

#include <windows.h>

#include <string>

#include "headless_options.h"
#include "standard_streams.h"
#include "terminal_settings.h"

struct WindowOptions {
    std::wstring rulesPath;                        // --rules FILE; empty: the remembered rules
    size_t historyLines = 0;                       // --history LINES; 0: the remembered number
    std::wstring openPath;                         // a log shown at the start; empty: the live lines
    bool viewer = false;  // openPath in a window of its own that takes no lines and saves no settings
    std::wstring settingsKey = DefaultSettingsKey;  // under HKEY_CURRENT_USER
    HeadlessOptions log;  // --log FILE: every line also written there (outputPath empty: none)
};

// Shows the window and runs until it is closed. Returns the exit status.
int RunTerminalWindow(HINSTANCE instance, int showCommand, const StandardStreams& streams,
                      const WindowOptions& options = WindowOptions());
