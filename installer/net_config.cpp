#include "net_config.h"

#include <objbase.h>

#include "installer_texts.h"

void ReleaseInterface(IUnknown* reference)
{
    if (reference != NULL) {
        reference->Release();
    }
}

HRESULT OpenNetConfig(bool wantLock, const wchar_t* clientName, NetConfigHandle* netConfig,
                      wchar_t** lockHolder)
{
    bool comCounted = false;
    INetCfg* config = NULL;
    INetCfgLock* lock = NULL;
    wchar_t* holder = NULL;
    bool lockTaken = false;
    HRESULT hr;

    *netConfig = NULL;
    if (lockHolder != NULL) {
        *lockHolder = NULL;
    }

    // S_FALSE means COM was already running on this thread: a failure here. That call still
    // counted once more and is balanced below; the caller's own initialisation stays.
    hr = CoInitialize(NULL);
    comCounted = SUCCEEDED(hr);
    if (hr != S_OK) {
        goto Cleanup;
    }
    hr = CoCreateInstance(CLSID_CNetCfg, NULL, CLSCTX_INPROC_SERVER, IID_INetCfg,
                          reinterpret_cast<void**>(&config));
    if (hr != S_OK) {
        goto Cleanup;
    }
    if (wantLock) {
        hr = config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock));
        if (hr != S_OK) {
            goto Cleanup;
        }
        hr = lock->AcquireWriteLock(LockWaitMilliseconds, clientName, &holder);
        if (hr == S_FALSE) {
            hr = NETCFG_E_NO_WRITE_LOCK;
        }
        if (hr != S_OK) {
            goto Cleanup;
        }
        lockTaken = true;
    }
    hr = config->Initialize(NULL);
    if (hr != S_OK) {
        goto Cleanup;
    }
    // The handle is a reference of the caller's own, given back by CloseNetConfig; this function's
    // reference goes below like the others.
    config->AddRef();
    *netConfig = config;

Cleanup:
    if (hr != S_OK && lockTaken) {
        lock->ReleaseWriteLock();
    }
    // The holder's name is only meaningful with a refused lock; any other name is ours to free.
    if (hr == NETCFG_E_NO_WRITE_LOCK && lockHolder != NULL) {
        *lockHolder = holder;
    } else if (holder != NULL) {
        CoTaskMemFree(holder);
    }
    ReleaseInterface(lock);
    ReleaseInterface(config);
    if (hr != S_OK && comCounted) {
        CoUninitialize();
    }
    return hr;
}

HRESULT CloseNetConfig(NetConfigHandle netConfig, bool lockHeld)
{
    INetCfgLock* lock = NULL;
    HRESULT hr;

    hr = netConfig->Uninitialize();
    if (hr != S_OK || !lockHeld) {
        goto Cleanup;
    }
    hr = netConfig->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock));
    if (hr != S_OK) {
        goto Cleanup;
    }
    hr = lock->ReleaseWriteLock();

Cleanup:
    ReleaseInterface(lock);
    ReleaseInterface(netConfig);
    CoUninitialize();
    return hr;
}
