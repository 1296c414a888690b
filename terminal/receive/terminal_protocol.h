// The messages hosts send to the terminal window (vornak_terminal_protocol.h), and turning one of
// them into a received line.
#pragma once

#include <windows.h>

#include "received_line.h"
#include "vornak_terminal_protocol.h"

// The registered numbers of the five messages, indexed by VornakTerminalMessage; 0 until
// registered. The same for the whole process, in window and headless mode alike.
extern UINT TerminalMessageIds[VORNAK_TERMINAL_MESSAGE_COUNT];

// Registers every name whose number is still 0; false when one could not be registered.
bool RegisterTerminalMessages();

// If message is one of the five, fills *line (reading the line's atom now: the host deletes it as
// soon as the send returns) and returns true. The arrival time is taken here too.
bool ReceiveTerminalMessage(UINT message, WPARAM wParam, LPARAM lParam, ReceivedLine* line);

// Milliseconds since local midnight, now.
uint32_t LocalMsOfDay();
