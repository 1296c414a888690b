#include "viewer_start.h"

#include <windows.h>

#include "instance_control.h"
#include "vornak_terminal_protocol.h"

bool ShowsInViewer(const TerminalOptions& options)
{
    if (options.command != TerminalCommand::Window || options.openPath.empty()) {
        return false;
    }
    if (options.viewer) {
        return true;
    }
    return options.logPath.empty() && (FindWindowA(VORNAK_TERMINAL_CLASS, NULL) != NULL || TerminalClaimHeld());
}
