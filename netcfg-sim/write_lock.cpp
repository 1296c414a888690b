#include "write_lock.h"

#include <cwchar>

namespace {

const wchar_t MutexName[] = L"VornakNetCfgSimWriteLock";
const wchar_t HolderMemoryName[] = L"VornakNetCfgSimWriteLockHolder";
const wchar_t HolderGuardName[] = L"VornakNetCfgSimWriteLockHolderGuard";

struct HolderRecord {
    wchar_t clientName[WriteLock::MaxClientNameLength + 1];
};

// Handles, opened on first use, and the object of this process that holds the lock.
SRWLOCK StateLock = SRWLOCK_INIT;
HANDLE LockMutex = NULL;
HANDLE HolderGuard = NULL;
HANDLE HolderMemory = NULL;
HolderRecord* SharedHolder = NULL;
const void* OwnerInProcess = NULL;
DWORD OwnerThread = 0;

HRESULT LastError()
{
    DWORD error = GetLastError();
    return error == 0 ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// Call with StateLock held exclusively.
HRESULT OpenHandles()
{
    if (SharedHolder != NULL) {
        return S_OK;
    }
    if (LockMutex == NULL) {
        LockMutex = CreateMutexW(NULL, FALSE, MutexName);
    }
    if (HolderGuard == NULL) {
        HolderGuard = CreateMutexW(NULL, FALSE, HolderGuardName);
    }
    if (HolderMemory == NULL) {
        HolderMemory = CreateFileMappingW(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                          sizeof(HolderRecord), HolderMemoryName);
    }
    if (LockMutex == NULL || HolderGuard == NULL || HolderMemory == NULL) {
        return LastError();
    }
    SharedHolder = static_cast<HolderRecord*>(
        MapViewOfFile(HolderMemory, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(HolderRecord)));
    return SharedHolder == NULL ? LastError() : S_OK;
}

HRESULT EnsureOpen()
{
    AcquireSRWLockExclusive(&StateLock);
    HRESULT hr = OpenHandles();
    ReleaseSRWLockExclusive(&StateLock);
    return hr;
}

// The holder's name is only touched under its own short-held mutex, so a reader never sees half
// of a name being written.
void WriteHolder(const wchar_t* name)
{
    WaitForSingleObject(HolderGuard, INFINITE);
    size_t length = wcslen(name);
    if (length > WriteLock::MaxClientNameLength) {
        length = WriteLock::MaxClientNameLength;
    }
    wmemcpy(SharedHolder->clientName, name, length);
    SharedHolder->clientName[length] = L'\0';
    ReleaseMutex(HolderGuard);
}

std::wstring ReadHolder()
{
    WaitForSingleObject(HolderGuard, INFINITE);
    SharedHolder->clientName[WriteLock::MaxClientNameLength] = L'\0';
    std::wstring name = SharedHolder->clientName;
    ReleaseMutex(HolderGuard);
    return name;
}

bool Acquired(DWORD wait)
{
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

} // namespace

namespace WriteLock {

HRESULT Acquire(const void* owner, DWORD timeoutMs, const wchar_t* clientName, std::wstring* holder)
{
    if (wcslen(clientName) > MaxClientNameLength) {
        return E_INVALIDARG;
    }
    HRESULT hr = EnsureOpen();
    if (FAILED(hr)) {
        return hr;
    }

    AcquireSRWLockShared(&StateLock);
    bool ownedAlready = OwnerInProcess == owner;
    bool heldOnThisThread = OwnerInProcess != NULL && OwnerThread == GetCurrentThreadId();
    ReleaseSRWLockShared(&StateLock);
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

    DWORD wait = WaitForSingleObject(LockMutex, timeoutMs);
    if (Acquired(wait)) {
        AcquireSRWLockExclusive(&StateLock);
        OwnerInProcess = owner;
        OwnerThread = GetCurrentThreadId();
        ReleaseSRWLockExclusive(&StateLock);
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
    AcquireSRWLockExclusive(&StateLock);
    HRESULT hr = S_FALSE;
    if (OwnerInProcess == owner && owner != NULL) {
        if (OwnerThread != GetCurrentThreadId()) {
            hr = HRESULT_FROM_WIN32(ERROR_NOT_OWNER);
        } else {
            WriteHolder(L"");
            ReleaseMutex(LockMutex);
            OwnerInProcess = NULL;
            OwnerThread = 0;
            hr = S_OK;
        }
    }
    ReleaseSRWLockExclusive(&StateLock);
    return hr;
}

bool IsHeldBy(const void* owner)
{
    AcquireSRWLockShared(&StateLock);
    bool held = owner != NULL && OwnerInProcess == owner;
    ReleaseSRWLockShared(&StateLock);
    return held;
}

bool IsHeldInThisProcess()
{
    AcquireSRWLockShared(&StateLock);
    bool held = OwnerInProcess != NULL;
    ReleaseSRWLockShared(&StateLock);
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
        DWORD wait = WaitForSingleObject(LockMutex, 0);
        if (Acquired(wait)) {
            ReleaseMutex(LockMutex);
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
    AcquireSRWLockExclusive(&StateLock);
    if (SharedHolder != NULL) {
        UnmapViewOfFile(SharedHolder);
        SharedHolder = NULL;
    }
    HANDLE* handles[] = {&HolderMemory, &HolderGuard, &LockMutex};
    for (HANDLE* handle : handles) {
        if (*handle != NULL) {
            CloseHandle(*handle);
            *handle = NULL;
        }
    }
    ReleaseSRWLockExclusive(&StateLock);
}

} // namespace WriteLock
