#include "task_list.h"

namespace {

// Only next is used: it points to the newest entry.
TaskEntry TaskList;
CRITICAL_SECTION TaskListLock;
bool TaskListOpen = false;

// Each thread's last look-up answer, so that a line does not walk a long list: its newest entry, or
// the head record for none. Only the thread's own registration can change the answer (no two living
// threads share an identity), and registration sets it. Without a slot every look-up walks.
DWORD OwnEntrySlot = TLS_OUT_OF_INDEXES;
TaskEntry* const NoOwnEntry = &TaskList;

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
    OwnEntrySlot = TlsAlloc();
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
    // Freeing the slot clears it in every thread: a later load starts with no answers.
    if (OwnEntrySlot != TLS_OUT_OF_INDEXES) {
        TlsFree(OwnEntrySlot);
        OwnEntrySlot = TLS_OUT_OF_INDEXES;
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
    if (OwnEntrySlot != TLS_OUT_OF_INDEXES) {
        TlsSetValue(OwnEntrySlot, entry);
    }
    return true;
}

ATOM FindTaskEntry()
{
    // Entries never change once linked, so a known entry is read without the lock.
    TaskEntry* known = NULL;
    if (OwnEntrySlot != TLS_OUT_OF_INDEXES) {
        known = static_cast<TaskEntry*>(TlsGetValue(OwnEntrySlot));
    }
    if (known != NULL) {
        return known == NoOwnEntry ? 0 : known->atom;
    }

    DWORD_PTR thread = CallingThread();
    TaskEntry* found = NoOwnEntry;
    EnterCriticalSection(&TaskListLock);
    for (TaskEntry* entry = TaskList.next; entry != NULL; entry = entry->next) {
        if (entry->thread == thread) {
            found = entry;
            break;
        }
    }
    LeaveCriticalSection(&TaskListLock);
    if (OwnEntrySlot != TLS_OUT_OF_INDEXES) {
        TlsSetValue(OwnEntrySlot, found);
    }
    return found == NoOwnEntry ? 0 : found->atom;
}

void FreeTaskEntry(TaskEntry* entry)
{
    GlobalDeleteAtom(entry->atom);
    HeapFree(GetProcessHeap(), 0, entry);
}
