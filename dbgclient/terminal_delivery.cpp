#include "terminal_delivery.h"

namespace {

// Sends synchronously; false when the window never handled the message. A window procedure that
// handles it and replies 0 leaves the last error alone, so a reply of 0 with an error set is a
// failed send. Access denied is User Interface Privilege Isolation's refusal (a terminal of a
// higher integrity level that lets no such message through); otherwise the window's absence
// tells a window that went away (its thread ended or destroyed it during the send) from any
// other refusal, which the call still counts as sent, as before.
bool SendToTerminal(HWND terminal, UINT message, WPARAM wParam, LPARAM lParam)
{
    SetLastError(ERROR_SUCCESS);
    if (SendMessageA(terminal, message, wParam, lParam) != 0) {
        return true;
    }
    DWORD error = GetLastError();
    if (error == ERROR_SUCCESS) {
        return true;
    }
    if (error == ERROR_ACCESS_DENIED) {
        return false;
    }
    return IsWindow(terminal) != FALSE;
}

}  // namespace

UINT TerminalMessageIds[VORNAK_TERMINAL_MESSAGE_COUNT];

bool RegisterTerminalMessages()
{
    bool allRegistered = true;
    for (int message = 0; message < VORNAK_TERMINAL_MESSAGE_COUNT; ++message) {
        if (TerminalMessageIds[message] == 0) {
            TerminalMessageIds[message] = RegisterWindowMessageA(VornakTerminalMessageNames[message]);
        }
        if (TerminalMessageIds[message] == 0) {
            allRegistered = false;
        }
    }
    return allRegistered;
}

HWND FindTerminal()
{
    return FindWindowA(VORNAK_TERMINAL_CLASS, NULL);
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
    return SendToTerminal(terminal, TerminalMessageIds[VORNAK_CLEAR_TERMINAL], 0, 0);
}
