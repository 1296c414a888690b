#include "write_lock.h"

#include <cwchar>

namespace {

const wchar_t MutexName[] = L"VornakNetCfgSimWriteLock";
const wchar_t HolderMemoryName[] = L"VornakNetCfgSimWriteLockHolder";
const wchar_t HolderGuardName[] = L"VornakNetCfgSimWriteLockHolderGuard";

struct HolderRecord {
    wchar_t clientName[write_lock::MaxClientNameLength + 1];
};

// Handles, opened on first use, and the object of this process that holds the lock.
SRWLOCK guard = SRWLOCK_INIT;
HANDLE lockMutex = NULL;
HANDLE holderGuard = NULL;
HANDLE holderMemory = NULL;
HolderRecord* holderRecord = NULL;
const void* ownerInProcess = NULL;
DWORD ownerThread = 0;

HRESULT LastError()
{
    DWORD error = GetLastError();
    return error == 0 ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// Call with guard held exclusively.
HRESULT OpenHandles()
{
    if (holderRecord != NULL) {
        return S_OK;
    }
    if (lockMutex == NULL) {
        lockMutex = CreateMutexW(NULL, FALSE, MutexName);
    }
    if (holderGuard == NULL) {
        holderGuard = CreateMutexW(NULL, FALSE, HolderGuardName);
    }
    if (holderMemory == NULL) {
        holderMemory = CreateFileMappingW(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                          sizeof(HolderRecord), HolderMemoryName);
    }
    if (lockMutex == NULL || holderGuard == NULL || holderMemory == NULL) {
        return LastError();
    }
    holderRecord = static_cast<HolderRecord*>(
        MapViewOfFile(holderMemory, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(HolderRecord)));
    return holderRecord == NULL ? LastError() : S_OK;
}

HRESULT EnsureOpen()
{
    AcquireSRWLockExclusive(&guard);
    HRESULT hr = OpenHandles();
    ReleaseSRWLockExclusive(&guard);
    return hr;
}

// The holder's name is only touched under its own short-held mutex, so a reader never sees half
// of a name being written.
void WriteHolder(const wchar_t* name)
{
    WaitForSingleObject(holderGuard, INFINITE);
    size_t length = wcslen(name);
    if (length > write_lock::MaxClientNameLength) {
        length = write_lock::MaxClientNameLength;
    }
    wmemcpy(holderRecord->clientName, name, length);
    holderRecord->clientName[length] = L'\0';
    ReleaseMutex(holderGuard);
}

std::wstring ReadHolder()
{
    WaitForSingleObject(holderGuard, INFINITE);
    holderRecord->clientName[write_lock::MaxClientNameLength] = L'\0';
    std::wstring name = holderRecord->clientName;
    ReleaseMutex(holderGuard);
    return name;
}

bool Acquired(DWORD wait)
{
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

} // namespace

namespace write_lock {

HRESULT Acquire(const void* owner, DWORD timeoutMs, const wchar_t* clientName, std::wstring* holder)
{
    if (wcslen(clientName) > MaxClientNameLength) {
        return E_INVALIDARG;
    }
    HRESULT hr = EnsureOpen();
    if (FAILED(hr)) {
        return hr;
    }

    AcquireSRWLockShared(&guard);
    bool ownedAlready = ownerInProcess == owner;
    bool heldOnThisThread = ownerInProcess != NULL && ownerThread == GetCurrentThreadId();
    ReleaseSRWLockShared(&guard);
    if (ownedAlready) {
        return S_OK;
    }

    if (heldOnThisThread) {
        // Another object of this thread holds it; the mutex would let us in again, and nothing can
        // give it back while this thread waits. The caller still waits, as it asked.
        if (timeoutMs == INFINITE) {
            return HRESULT_FROM_WIN32(ERROR_POSSIBLE_DEADLOCK);
        }
        Sleep(timeoutMs);
        *holder = ReadHolder();
        return S_FALSE;
    }

    DWORD wait = WaitForSingleObject(lockMutex, timeoutMs);
    if (Acquired(wait)) {
        AcquireSRWLockExclusive(&guard);
        ownerInProcess = owner;
        ownerThread = GetCurrentThreadId();
        ReleaseSRWLockExclusive(&guard);
        WriteHolder(clientName);
        return S_OK;
    }
    if (wait == WAIT_TIMEOUT) {
        *holder = ReadHolder();
        return S_FALSE;
    }
    return LastError();
}

HRESULT Release(const void* owner)
{
    AcquireSRWLockExclusive(&guard);
    HRESULT hr = S_FALSE;
    if (ownerInProcess == owner && owner != NULL) {
        if (ownerThread != GetCurrentThreadId()) {
            hr = HRESULT_FROM_WIN32(ERROR_NOT_OWNER);
        } else {
            WriteHolder(L"");
            ReleaseMutex(lockMutex);
            ownerInProcess = NULL;
            ownerThread = 0;
            hr = S_OK;
        }
    }
    ReleaseSRWLockExclusive(&guard);
    return hr;
}

bool IsHeldBy(const void* owner)
{
    AcquireSRWLockShared(&guard);
    bool held = owner != NULL && ownerInProcess == owner;
    ReleaseSRWLockShared(&guard);
    return held;
}

bool IsHeldInThisProcess()
{
    AcquireSRWLockShared(&guard);
    bool held = ownerInProcess != NULL;
    ReleaseSRWLockShared(&guard);
    return held;
}

bool IsLocked(std::wstring* holder)
{
    if (FAILED(EnsureOpen())) {
        return false;
    }
    bool heldHere = IsHeldInThisProcess();
    bool locked = heldHere;
    if (!heldHere) {
        // A glance: take it and give it straight back when free.
        DWORD wait = WaitForSingleObject(lockMutex, 0);
        if (Acquired(wait)) {
            ReleaseMutex(lockMutex);
        } else {
            locked = true;
        }
    }
    if (locked && holder != NULL) {
        *holder = ReadHolder();
    }
    return locked;
}

void Close()
{
    AcquireSRWLockExclusive(&guard);
    if (holderRecord != NULL) {
        UnmapViewOfFile(holderRecord);
        holderRecord = NULL;
    }
    HANDLE* handles[] = {&holderMemory, &holderGuard, &lockMutex};
    for (HANDLE* handle : handles) {
        if (*handle != NULL) {
            CloseHandle(*handle);
            *handle = NULL;
        }
    }
    ReleaseSRWLockExclusive(&guard);
}

} // namespace write_lock
