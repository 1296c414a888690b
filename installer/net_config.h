// Opening and closing the system's network configuration under its write lock.
#pragma once

#include <windows.h>
#include <netcfgx.h>

// The initialised network configuration object, write lock held, COM initialised on the thread.
// The owner gives it back with CloseNetConfig.
typedef INetCfg* NetConfigHandle;

// Starts COM, creates the configuration object, takes the write lock for clientName when
// wantLock is set (waiting up to LockWaitMilliseconds) and initialises the object. When the lock is refused
// the result is NETCFG_E_NO_WRITE_LOCK and *lockHolder, if supplied, names the holder; the caller
// frees it with CoTaskMemFree. On any failure the thread is left as it was found, except that a
// result of S_FALSE (COM already initialised) leaves COM alone.
HRESULT OpenNetConfig(bool wantLock, const wchar_t* clientName, NetConfigHandle* netConfig,
                      wchar_t** lockHolder);

// Uninitialises the object, releases the write lock when lockHeld, releases the handle and ends COM.
HRESULT CloseNetConfig(NetConfigHandle netConfig, bool lockHeld);

// Releases the reference if it is set. The caller's copy is left as it is.
void ReleaseInterface(IUnknown* reference);
