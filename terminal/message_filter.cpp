#include "message_filter.h"

bool AllowTerminalMessagesFromLowerIntegrity(HWND window, const TerminalMessageIds& ids, DWORD* error)
{
    const UINT messages[] = {ids.debug, ids.log, ids.statistic, ids.error, ids.clear};
    bool allowed = true;
    for (UINT message : messages) {
        // For this window only, not for the whole process.
        if (!ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, NULL) && allowed) {
            *error = GetLastError();
            allowed = false;
        }
    }
    return allowed;
}
