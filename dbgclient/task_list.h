// The process-wide list of task names that label the lines of the threads that registered them.
// A thread holds at most one entry, from its registration until it registers again or ends.
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
// OpenTaskList. When the process is ending its other threads are gone, possibly inside the lock or
// the heap: then only the entries' atom references go back, without the lock, and the rest is
// left to the process.
void CloseTaskList(bool processEnding);

// Links a new entry for the calling thread in front, taking over the atom reference, then frees the
// thread's previous entry, if any. Returns false when the heap refuses, leaving the reference with
// the caller and the previous entry in place.
bool InsertTaskEntry(ATOM atom);

// Frees the calling thread's entry, if any. Called as the thread ends: its identity may soon be
// another thread's.
void ReleaseThreadTaskEntry();

// The task-name atom of the calling thread's entry, or 0 when it has none. Only the thread itself
// frees its entry (or the list's closing), so the atom stays alive while the thread uses it.
ATOM FindTaskEntry();

// Drops the entry's atom reference and frees the entry.
void FreeTaskEntry(TaskEntry* entry);
