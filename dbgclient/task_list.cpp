#include "task_list.h"

namespace {

// Only next is used: it points to the newest entry.
TaskEntry TaskList;
CRITICAL_SECTION TaskListLock;
bool TaskListOpen = false;

// Each thread's own entry, so that neither a line nor a thread's end walks a long list: only the
// thread itself links or unlinks its entry (no two living threads share an identity), and it sets
// the slot as it does. The slot starts empty in every thread. Without a slot every look-up walks.
DWORD OwnEntrySlot = TLS_OUT_OF_INDEXES;

DWORD_PTR CallingThread()
{
    return static_cast<DWORD_PTR>(GetCurrentThreadId());
}

bool HaveSlot()
{
    return OwnEntrySlot != TLS_OUT_OF_INDEXES;
}

void RememberOwnEntry(TaskEntry* entry)
{
    if (HaveSlot()) {
        TlsSetValue(OwnEntrySlot, entry);
    }
}

// The calling thread's entry, or NULL. Without a slot, call inside the lock.
TaskEntry* OwnEntry()
{
    if (HaveSlot()) {
        return static_cast<TaskEntry*>(TlsGetValue(OwnEntrySlot));
    }
    DWORD_PTR thread = CallingThread();
    for (TaskEntry* entry = TaskList.next; entry != NULL; entry = entry->next) {
        if (entry->thread == thread) {
            return entry;
        }
    }
    return NULL;
}

// Inside the lock (or with the process ending). Each entry knows its newer neighbour, so taking one
// out never walks the list.
void Unlink(TaskEntry* entry)
{
    entry->prev->next = entry->next;
    if (entry->next != NULL) {
        entry->next->prev = entry->prev;
    }
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
        Unlink(newest);
        // Global atoms outlive the process, so their references go back even as it ends. The heap
        // and the slot end with it: a thread already gone may have held the heap's lock.
        if (processEnding) {
            GlobalDeleteAtom(newest->atom);
        } else {
            FreeTaskEntry(newest);
        }
    }
    if (!processEnding) {
        LeaveCriticalSection(&TaskListLock);
        DeleteCriticalSection(&TaskListLock);
        // Freeing the slot clears it in every thread: a later load starts with no answers.
        if (HaveSlot()) {
            TlsFree(OwnEntrySlot);
        }
    }
    OwnEntrySlot = TLS_OUT_OF_INDEXES;
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
    TaskEntry* previous = OwnEntry();
    entry->next = TaskList.next;
    if (entry->next != NULL) {
        entry->next->prev = entry;
    }
    // Published last: a process that ends with this thread stopped here still has a whole list.
    TaskList.next = entry;
    if (previous != NULL) {
        Unlink(previous);
    }
    LeaveCriticalSection(&TaskListLock);
    RememberOwnEntry(entry);
    // Freed once the new entry holds its reference: the same name again keeps its atom.
    if (previous != NULL) {
        FreeTaskEntry(previous);
    }
    return true;
}

void ReleaseThreadTaskEntry()
{
    // Runs under the loader lock: takes no lock but the list's own, and not even that for a thread
    // whose slot shows it never registered.
    if (!TaskListOpen || (HaveSlot() && OwnEntry() == NULL)) {
        return;
    }
    EnterCriticalSection(&TaskListLock);
    TaskEntry* own = OwnEntry();
    if (own != NULL) {
        Unlink(own);
    }
    LeaveCriticalSection(&TaskListLock);
    if (own != NULL) {
        RememberOwnEntry(NULL);
        FreeTaskEntry(own);
    }
}

ATOM FindTaskEntry()
{
    // The slot is read without the lock: only this thread changes its entry.
    if (HaveSlot()) {
        TaskEntry* own = OwnEntry();
        return own != NULL ? own->atom : 0;
    }
    EnterCriticalSection(&TaskListLock);
    TaskEntry* own = OwnEntry();
    ATOM atom = own != NULL ? own->atom : 0;
    LeaveCriticalSection(&TaskListLock);
    return atom;
}

void FreeTaskEntry(TaskEntry* entry)
{
    GlobalDeleteAtom(entry->atom);
    HeapFree(GetProcessHeap(), 0, entry);
}
