// The network configuration object (CLSID_CNetCfg): INetCfg and, on the same object,
// INetCfgLock. It keeps the changes made through it pending until Apply commits them to the
// prefix-wide store, and may hold the system-wide write lock, which it gives back at the latest
// when its last reference goes.
#pragma once

#include <windows.h>
#include <netcfgx.h>

#include <mutex>
#include <string>
#include <vector>

#include "sim_object.h"

class NetCfgObject;

// The INetCfgLock face of a NetCfgObject; it shares the object's identity and references.
class NetCfgLockFace final : public SimFace<INetCfgLock, NetCfgObject> {
public:
    explicit NetCfgLockFace(NetCfgObject& object) : SimFace(object, "INetCfgLock::QueryInterface") {}

    HRESULT STDMETHODCALLTYPE AcquireWriteLock(DWORD timeoutMs, LPCWSTR clientName,
                                               LPWSTR* holderName) override;
    HRESULT STDMETHODCALLTYPE ReleaseWriteLock() override;
    HRESULT STDMETHODCALLTYPE IsWriteLocked(LPWSTR* holderName) override;
};

class NetCfgObject final : public INetCfg, private SimObject<NetCfgObject> {
public:
    // A new object with one reference, or NULL when memory is short.
    static NetCfgObject* Create();

    // QueryInterface without the journal, for the simulator's own use.
    HRESULT Query(REFIID riid, void** object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        return JournaledQuery("INetCfg::QueryInterface", riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseReference(); }

    HRESULT STDMETHODCALLTYPE Initialize(PVOID reserved) override;
    HRESULT STDMETHODCALLTYPE Uninitialize() override;
    HRESULT STDMETHODCALLTYPE Apply() override;
    HRESULT STDMETHODCALLTYPE Cancel() override;
    HRESULT STDMETHODCALLTYPE EnumComponents(const GUID* classGuid,
                                             IEnumNetCfgComponent** components) override;
    HRESULT STDMETHODCALLTYPE FindComponent(LPCWSTR id, INetCfgComponent** component) override;
    HRESULT STDMETHODCALLTYPE QueryNetCfgClass(const GUID* classGuid, REFIID riid,
                                               void** object) override;

    // For the lock face.
    HRESULT TakeWriteLock(DWORD timeoutMs, LPCWSTR clientName, std::wstring* holder);
    HRESULT GiveBackWriteLock();

    // For the class objects.
    bool Initialized();
    // S_OK when changes may be made now, else why not.
    HRESULT CheckWritable();
    // Looks id up as this object sees it: its pending changes first, then the store. S_FALSE and
    // *component NULL when not installed (or, with classFilter, not in that class).
    HRESULT Find(const GUID* classFilter, LPCWSTR id, INetCfgComponent** component);
    bool IsInstalled(const std::wstring& id, GUID* classGuid);
    void MarkPending(const std::wstring& id, const GUID& classGuid, bool install);

private:
    struct PendingChange {
        std::wstring id;
        GUID classGuid;
        bool install;
    };

    friend class SimObject<NetCfgObject>;

    // A call that changes the object's state under its lock, unless the script refuses it.
    template <typename Change>
    HRESULT ChangeState(const char* method, const JournalArgs& args, Change change);

    NetCfgObject();
    // The lock belongs to the object: it goes with it.
    ~NetCfgObject();

    NetCfgLockFace lockFace_;
    std::mutex stateGuard_;
    bool initialized_;
    std::vector<PendingChange> pending_;
};
