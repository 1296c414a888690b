// The terminal without a window on screen: every line goes, with its time and class, to a file or
// to standard output, for scripts and CI.
#pragma once

#include <windows.h>

#include "standard_streams.h"
#include "headless_options.h"

// Runs until the window is asked to close (WM_CLOSE, vornak-terminal --stop) or, when the
// terminal joined a console, until Ctrl+C or the console closes. Returns the exit status.
int RunHeadlessTerminal(HINSTANCE instance, const HeadlessOptions& options, const StandardStreams& streams);
