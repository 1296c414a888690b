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
    INetCfg* config = NULL;
    INetCfgLock* lock = NULL;
    wchar_t* holder = NULL;

    *netConfig = NULL;
    if (lockHolder != NULL) {
        *lockHolder = NULL;
    }

    // S_FALSE means COM was already running on this thread: a failure here. That call still
    // counted once more and is balanced at once; the caller's own initialisation stays.
    HRESULT hr = CoInitialize(NULL);
    if (hr != S_OK) {
        if (SUCCEEDED(hr)) {
            CoUninitialize();
        }
        return hr;
    }

    hr = CoCreateInstance(CLSID_CNetCfg, NULL, CLSCTX_INPROC_SERVER, IID_INetCfg,
                          reinterpret_cast<void**>(&config));
    if (hr == S_OK && wantLock) {
        hr = config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock));
        if (hr == S_OK) {
            hr = lock->AcquireWriteLock(LockWaitMilliseconds, clientName, &holder);
            if (hr == S_FALSE) {
                hr = NETCFG_E_NO_WRITE_LOCK;
            }
        }
    }
    if (hr == S_OK) {
        hr = config->Initialize(NULL);
        if (hr == S_OK) {
            config->AddRef();
            *netConfig = config;
        } else if (lock != NULL) {
            lock->ReleaseWriteLock();
        }
    }

    // The holder's name is only meaningful with a refused lock; any other name is ours to free.
    if (hr == NETCFG_E_NO_WRITE_LOCK && lockHolder != NULL) {
        *lockHolder = holder;
    } else if (holder != NULL) {
        CoTaskMemFree(holder);
    }
    ReleaseInterface(lock);
    ReleaseInterface(config);
    if (hr != S_OK) {
        CoUninitialize();
    }
    return hr;
}

HRESULT CloseNetConfig(NetConfigHandle netConfig, bool lockHeld)
{
    INetCfgLock* lock = NULL;

    HRESULT hr = netConfig->Uninitialize();
    if (hr == S_OK && lockHeld) {
        hr = netConfig->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock));
        if (hr == S_OK) {
            hr = lock->ReleaseWriteLock();
        }
    }

    ReleaseInterface(lock);
    ReleaseInterface(netConfig);
    CoUninitialize();
    return hr;
}
