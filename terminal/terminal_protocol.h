// The messages hosts send to the terminal window, and turning one of them into a received line.
#pragma once

#include <windows.h>

#include "received_line.h"

constexpr char TerminalClassName[] = "VornakDebugTerminal";
constexpr wchar_t TerminalClassNameW[] = L"VornakDebugTerminal";

struct TerminalMessageIds {
    UINT debug = 0;
    UINT log = 0;
    UINT statistic = 0;
    UINT error = 0;
    UINT clear = 0;
};

// Registers the five message names; false when one could not be registered.
bool RegisterTerminalMessages(TerminalMessageIds* ids);

// If message is one of the five, fills *line (reading the line's atom now: the host deletes it as
// soon as the send returns) and returns true. The arrival time is taken here too.
bool ReceiveTerminalMessage(const TerminalMessageIds& ids, UINT message, WPARAM wParam, LPARAM lParam,
                            ReceivedLine* line);

// Milliseconds since local midnight, now.
uint32_t LocalMsOfDay();
