#define VORNAKDBG32_API
#include "vornakdbg32.h"

#include "task_list.h"
#include "terminal_delivery.h"

int VORNAKDBG32_CALL VornakDbg_RegisterTask(const char* name)
{
    // Without a terminal nothing is registered, whatever the name.
    if (FindTerminal() == NULL) {
        return VORNAKDBG_STATUS_NO_TERMINAL;
    }
    if (name == NULL) {
        return VORNAKDBG_STATUS_TEXT_MISSING;
    }
    // A name is never cut: one the atom table refuses (over 255 characters) is refused here.
    ATOM atom = GlobalAddAtomA(name);
    if (atom == 0) {
        return VORNAKDBG_STATUS_NAME_REFUSED;
    }
    if (!InsertTaskEntry(atom)) {
        GlobalDeleteAtom(atom);
        return VORNAKDBG_STATUS_NAME_REFUSED;
    }
    return VORNAKDBG_STATUS_DONE;
}
