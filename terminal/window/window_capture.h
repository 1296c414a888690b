// The window's commands for what programs write with OutputDebugString: capture on or off, and
// the machine's output too.
#pragma once

#include "window_state.h"

// Captures (or stops) as asked; a refusal is the status bar's notice and the check marks say
// what runs. Captured lines join the hosts' in the live lines' queue, in arrival order.
void SetCapture(TerminalWindow& t, bool wanted, bool global);
void StopCapture(TerminalWindow& t);
