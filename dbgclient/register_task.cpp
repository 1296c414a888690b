#define VORNAKDBG32_API
#include "vornakdbg32.h"

#include "task_list.h"
#include "terminal_delivery.h"

int VORNAKDBG32_CALL VornakDbg_RegisterTask(const char* name)
{
    ATOM atom = 0;
    int status = VORNAKDBG_STATUS_DONE;

    // Without a terminal nothing is registered, whatever the name.
    if (FindTerminal() == NULL) {
        return VORNAKDBG_STATUS_NO_TERMINAL;
    }
    if (name == NULL) {
        return VORNAKDBG_STATUS_TEXT_MISSING;
    }
    // A name is never cut: one the atom table refuses (over 255 characters) is refused here.
    atom = GlobalAddAtomA(name);
    if (atom == 0) {
        status = VORNAKDBG_STATUS_NAME_REFUSED;
        goto Cleanup;
    }
    if (!InsertTaskEntry(atom)) {
        status = VORNAKDBG_STATUS_NAME_REFUSED;
        goto Cleanup;
    }
    // The entry holds the reference from now on.
    atom = 0;

Cleanup:
    if (atom != 0) {
        GlobalDeleteAtom(atom);
    }
    return status;
}
