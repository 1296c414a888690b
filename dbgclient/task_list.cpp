#include "task_list.h"

namespace {

// Only next is used: it points to the newest entry.
TaskEntry TaskList;
CRITICAL_SECTION TaskListLock;
bool TaskListOpen = false;

DWORD_PTR CallingThread()
{
    return static_cast<DWORD_PTR>(GetCurrentThreadId());
}

}  // namespace

void OpenTaskList()
{
    InitializeCriticalSection(&TaskListLock);
    TaskList.thread = 0;
    TaskList.atom = 0;
    TaskList.next = NULL;
    TaskList.prev = NULL;
    TaskListOpen = true;
}

void CloseTaskList(bool processEnding)
{
    if (!TaskListOpen) {
        return;
    }
    if (!processEnding) {
        EnterCriticalSection(&TaskListLock);
    }
    while (TaskList.next != NULL) {
        TaskEntry* newest = TaskList.next;
        TaskList.next = newest->next;
        if (TaskList.next != NULL) {
            TaskList.next->prev = &TaskList;
        }
        FreeTaskEntry(newest);
    }
    if (!processEnding) {
        LeaveCriticalSection(&TaskListLock);
        DeleteCriticalSection(&TaskListLock);
    }
    TaskListOpen = false;
}

bool InsertTaskEntry(ATOM atom)
{
    TaskEntry* entry = static_cast<TaskEntry*>(HeapAlloc(GetProcessHeap(), 0, sizeof(TaskEntry)));
    if (entry == NULL) {
        return false;
    }
    entry->thread = CallingThread();
    entry->atom = atom;
    entry->prev = &TaskList;

    EnterCriticalSection(&TaskListLock);
    entry->next = TaskList.next;
    if (entry->next != NULL) {
        entry->next->prev = entry;
    }
    // Published last: a process that ends with this thread stopped here still has a whole list.
    TaskList.next = entry;
    LeaveCriticalSection(&TaskListLock);
    return true;
}

ATOM FindTaskEntry()
{
    DWORD_PTR thread = CallingThread();
    ATOM atom = 0;

    EnterCriticalSection(&TaskListLock);
    for (const TaskEntry* entry = TaskList.next; entry != NULL; entry = entry->next) {
        if (entry->thread == thread) {
            atom = entry->atom;
            break;
        }
    }
    LeaveCriticalSection(&TaskListLock);
    return atom;
}

void FreeTaskEntry(TaskEntry* entry)
{
    GlobalDeleteAtom(entry->atom);
    HeapFree(GetProcessHeap(), 0, entry);
}
