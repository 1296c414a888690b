// The process-wide list of task names that label the lines of the threads that registered them.
#pragma once

#include <windows.h>

struct TaskEntry {
    DWORD_PTR thread;  // identity of the registering thread
    ATOM atom;         // the task name; the entry owns one reference
    TaskEntry* next;   // next older entry
    TaskEntry* prev;   // next newer entry, or the list's head record
};

// Readies the lock and the per-thread look-up slot and empties the list. Called at process attach.
void OpenTaskList();

// Frees every entry, newest first, then retires the lock and the slot; does nothing once done or before
// OpenTaskList. When the process is ending its other threads are gone, possibly inside the lock,
// so the list is then released without it.
void CloseTaskList(bool processEnding);

// Links a new entry for the calling thread in front; it takes over the atom reference. Returns false
// when the heap refuses, leaving the reference with the caller.
bool InsertTaskEntry(ATOM atom);

// The task-name atom of the calling thread's newest entry, or 0 when it has none. The entry keeps
// the atom alive until the list is closed.
ATOM FindTaskEntry();

// Drops the entry's atom reference and frees the entry.
void FreeTaskEntry(TaskEntry* entry);
