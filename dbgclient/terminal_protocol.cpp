#include "terminal_protocol.h"

namespace {

const char TerminalClassName[] = "VornakDebugTerminal";

// Order of registration, indexed by TerminalMessage.
const char* const TerminalMessageNames[TerminalMessageCount] = {
    "*WM_DEBUG_MESSAGE",
    "*WM_LOG_MESSAGE",
    "*WM_STATISTIC_MESSAGE",
    "*WM_ERROR_MESSAGE",
    "*WM_CLEAR_TERMINAL",
};

}  // namespace

UINT TerminalMessageIds[TerminalMessageCount];

bool RegisterTerminalMessages()
{
    bool allRegistered = true;
    for (int message = 0; message < TerminalMessageCount; ++message) {
        if (TerminalMessageIds[message] == 0) {
            TerminalMessageIds[message] = RegisterWindowMessageA(TerminalMessageNames[message]);
        }
        if (TerminalMessageIds[message] == 0) {
            allRegistered = false;
        }
    }
    return allRegistered;
}

HWND FindTerminal()
{
    return FindWindowA(TerminalClassName, NULL);
}

void DeliverLine(HWND terminal, UINT message, const char* line, char letter)
{
    ATOM atom = GlobalAddAtomA(line);
    // The letter widens with its sign, as a char argument would.
    SendMessageA(terminal, message, static_cast<WPARAM>(atom), static_cast<LPARAM>(letter));
    if (atom != 0) {
        GlobalDeleteAtom(atom);
    }
}
