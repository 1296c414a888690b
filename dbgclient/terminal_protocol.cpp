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

// Sends synchronously; false only when the window no longer exists and so never handled the
// message. A window procedure that handles it and replies 0 leaves the last error alone, so a
// reply of 0 with an error set is a failed send; among those, the window's absence tells a window
// that went away (its thread ended or destroyed it during the send) from any other refusal,
// which the call still counts as sent, as before.
bool SendToTerminal(HWND terminal, UINT message, WPARAM wParam, LPARAM lParam)
{
    SetLastError(ERROR_SUCCESS);
    if (SendMessageA(terminal, message, wParam, lParam) != 0 || GetLastError() == ERROR_SUCCESS) {
        return true;
    }
    return IsWindow(terminal) != FALSE;
}

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

bool DeliverLine(HWND terminal, UINT message, const char* line, char letter)
{
    ATOM atom = GlobalAddAtomA(line);
    // The letter widens with its sign, as a char argument would.
    bool handled = SendToTerminal(terminal, message, static_cast<WPARAM>(atom), static_cast<LPARAM>(letter));
    if (atom != 0) {
        GlobalDeleteAtom(atom);
    }
    return handled;
}

bool RequestClear(HWND terminal)
{
    // Carries no atom; the reply means nothing to us.
    return SendToTerminal(terminal, TerminalMessageIds[ClearTerminalMessage], 0, 0);
}
