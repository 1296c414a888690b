// The system-wide network configuration write lock: a named mutex, so that a holder that dies
// frees it, and the holder's client name in named shared memory. In this process the lock
// belongs to one object (the owner key), since the mutex itself would let every object on the
// owning thread in again.
//
// The mutex belongs to the thread that acquired it: the owner must release on that thread.
#pragma once

#include <windows.h>

#include <string>

namespace WriteLock {

// Longest client name kept, in characters.
const size_t MaxClientNameLength = 255;

// Waits up to timeoutMs for the lock on behalf of owner. S_OK: owner holds it (also when it
// already did). S_FALSE: someone else kept it for the whole wait; *holder names them. Failure
// codes for names that are too long and system failures.
HRESULT Acquire(const void* owner, DWORD timeoutMs, const wchar_t* clientName, std::wstring* holder);

// S_OK when owner held the lock and gave it back; S_FALSE when owner did not hold it.
HRESULT Release(const void* owner);

bool IsHeldBy(const void* owner);
bool IsHeldInThisProcess();

// True when anyone, this process included, holds the lock; *holder then names them.
bool IsLocked(std::wstring* holder);

// Closes the handles when the DLL is unloaded (the lock is not held then).
void Close();

} // namespace WriteLock
