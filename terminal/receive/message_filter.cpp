#include "message_filter.h"

#include "terminal_protocol.h"

bool AllowTerminalMessagesFromLowerIntegrity(HWND window, DWORD* error)
{
    bool allowed = true;
    for (UINT message : TerminalMessageIds) {
        // For this window only, not for the whole process.
        if (!ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, NULL) && allowed) {
            *error = GetLastError();
            allowed = false;
        }
    }
    return allowed;
}
