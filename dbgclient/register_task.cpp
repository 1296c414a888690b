#define VORNAKDBG32_API
#include "vornakdbg32.h"

#include "status_codes.h"
#include "task_list.h"
#include "terminal_protocol.h"

int VORNAKDBG32_CALL VornakDbg_RegisterTask(const char* name)
{
    // Without a terminal nothing is registered, whatever the name.
    if (FindTerminal() == NULL) {
        return StatusNoTerminal;
    }
    if (name == NULL) {
        return StatusTextMissing;
    }
    // A name is never cut: one the atom table refuses (over 255 characters) is refused here.
    ATOM atom = GlobalAddAtomA(name);
    if (atom == 0) {
        return StatusNameRefused;
    }
    if (!InsertTaskEntry(atom)) {
        GlobalDeleteAtom(atom);
        return StatusNameRefused;
    }
    return StatusDone;
}
