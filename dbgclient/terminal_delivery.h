// How the library reaches the debug terminal (vornak_terminal_protocol.h): the registered message
// numbers, the search for the window and the delivery of one line as a global atom.
#pragma once

#include <windows.h>

#include "vornak_terminal_protocol.h"

// Registered numbers, indexed by VornakTerminalMessage; 0 until registered. Fixed from load to unload.
extern UINT TerminalMessageIds[VORNAK_TERMINAL_MESSAGE_COUNT];

// Registers every name whose number is still 0, in protocol order. Returns false if any failed.
bool RegisterTerminalMessages();

// The terminal window, or NULL when none runs. Never kept: every call searches again.
HWND FindTerminal();

// Sends line as a global atom with the given letter and gives the atom reference back once the
// terminal has handled it. A line the atom table refuses goes out with atom 0. Returns false when
// the window was gone before it could handle the line (the terminal closed since it was found), or
// the system kept the message from it (a terminal of a higher integrity level that does not let
// it through).
bool DeliverLine(HWND terminal, UINT message, const char* line, char letter);

// Asks the terminal to clear its display; false when it never got the request, as above.
bool RequestClear(HWND terminal);
