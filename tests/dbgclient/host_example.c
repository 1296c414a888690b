/* A host program: registers a task name, then sends each kind of line to the debug terminal. */
#include <stdio.h>

#include "vornakdbg32.h"

int main(void)
{
    if (VornakDbg_RegisterTask("Scanner") != VORNAKDBG_STATUS_DONE) {
        fputs("no debug terminal running\n", stderr);
        return 1;
    }
    VornakDbg_ClearTerminal();
    VornakDbg_Message("count=%d", 5);
    VornakLog_Message("scan of %s started", "eth0");
    VornakStat_Message("%u packets, %u dropped", 1200u, 3u);
    VornakError_Message("open failed with error %lu", 2ul);
    VornakDbg_Separator('=');
    return 0;
}
