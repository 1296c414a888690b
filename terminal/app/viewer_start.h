// When the window program shows a saved log in a viewer of its own rather than as the terminal.
#pragma once

#include "terminal_arguments.h"

// Asked for (--view LOG), or a log named while a terminal runs (Explorer's "Open with", a
// script), which would otherwise be refused as a second terminal. A log given with --log needs
// the terminal's lines, so it is refused as before.
bool ShowsInViewer(const TerminalOptions& options);
