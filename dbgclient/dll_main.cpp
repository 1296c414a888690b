#include <windows.h>

#include "ansi_code_page.h"
#include "task_list.h"
#include "terminal_delivery.h"

static_assert(sizeof(void*) == 8, "VORNAKDBG32 is built for 64-bit Windows (x64) only");

namespace {

BOOL AttachProcess()
{
    OpenTaskList();
    if (!RegisterTerminalMessages()) {
        // Numbers already registered stay registered; the list is empty, so this only retires the lock.
        CloseTaskList(false);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        return AttachProcess();
    case DLL_PROCESS_DETACH:
        // A second detach after a failed attach (the run-time support sends one) finds the list
        // closed. A reserved argument says the process is ending rather than unloading us.
        CloseTaskList(reserved != NULL);
        ReleaseAnsiCodePage(reserved != NULL);
        break;
    case DLL_THREAD_DETACH:
        // A thread's name ends with it: a later thread given the same identity must not inherit it.
        // The list and the message numbers stay as they are.
        ReleaseThreadTaskEntry();
        break;
    default:
        break;
    }
    return TRUE;
}
