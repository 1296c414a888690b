// The terminal as a window people look at.
#pragma once

#include <windows.h>

#include "standard_streams.h"

// Shows the window and runs until it is closed. Returns the exit status.
int RunTerminalWindow(HINSTANCE instance, int showCommand, const StandardStreams& streams);
