#include "net_cfg_object.h"

#include <new>

#include "installed_components.h"
#include "net_cfg_class.h"
#include "net_cfg_component.h"
#include "netcfg_sim_steering.h"
#include "sim_call.h"
#include "sim_values.h"
#include "write_lock.h"

NetCfgObject* NetCfgObject::Create()
{
    return new (std::nothrow) NetCfgObject();
}

NetCfgObject::NetCfgObject() : lockFace_(*this), initialized_(false) {}

NetCfgObject::~NetCfgObject()
{
    WriteLock::Release(this);
}

HRESULT NetCfgObject::Query(REFIID riid, void** object)
{
    return HandOutInterface(riid, object, static_cast<INetCfg*>(this), IID_INetCfg,
                            static_cast<INetCfgLock*>(&lockFace_), IID_INetCfgLock);
}

template <typename Change>
HRESULT NetCfgObject::ChangeState(const char* method, const JournalArgs& args, Change change)
{
    SimCall call(method);
    HRESULT hr = call.Scripted();
    if (!call.Refused()) {
        std::lock_guard<std::mutex> lock(stateGuard_);
        hr = change();
    }
    return call.Finish(hr, args);
}

HRESULT NetCfgObject::Initialize(PVOID reserved)
{
    return ChangeState("INetCfg::Initialize", JournalArgs().Pointer(reserved), [this] {
        HRESULT hr = initialized_ ? NETCFG_E_ALREADY_INITIALIZED : S_OK;
        initialized_ = true;
        return hr;
    });
}

HRESULT NetCfgObject::Uninitialize()
{
    return ChangeState("INetCfg::Uninitialize", JournalArgs(), [this] {
        HRESULT hr = initialized_ ? S_OK : NETCFG_E_NOT_INITIALIZED;
        // Whatever was not applied is forgotten.
        pending_.clear();
        initialized_ = false;
        return hr;
    });
}

HRESULT NetCfgObject::Apply()
{
    SimCall call("INetCfg::Apply");
    HRESULT hr = call.Refused() ? call.Scripted() : CheckWritable();
    if (hr == S_OK) {
        std::lock_guard<std::mutex> lock(stateGuard_);
        while (!pending_.empty() && SUCCEEDED(hr)) {
            const PendingChange& change = pending_.front();
            hr = change.install ? InstalledComponents::CommitInstall(change.id.c_str(), change.classGuid)
                                : InstalledComponents::CommitRemoval(change.id.c_str());
            if (SUCCEEDED(hr)) {
                pending_.erase(pending_.begin());
            }
        }
    }
    return call.Finish(hr, JournalArgs());
}

HRESULT NetCfgObject::Cancel()
{
    return ChangeState("INetCfg::Cancel", JournalArgs(), [this] {
        HRESULT hr = initialized_ ? S_OK : NETCFG_E_NOT_INITIALIZED;
        pending_.clear();
        return hr;
    });
}

HRESULT NetCfgObject::EnumComponents(const GUID* classGuid, IEnumNetCfgComponent** components)
{
    return NotImplementedOut("INetCfg::EnumComponents", components, JournalArgs().Guid(classGuid));
}

HRESULT NetCfgObject::FindComponent(LPCWSTR id, INetCfgComponent** component)
{
    SimCall call("INetCfg::FindComponent");
    if (component != NULL) {
        *component = NULL;
    }
    HRESULT hr = call.Refused() ? call.Scripted() : Find(NULL, id, component);
    return call.Finish(hr, JournalArgs().Text(id).Out(component));
}

HRESULT NetCfgObject::QueryNetCfgClass(const GUID* classGuid, REFIID riid, void** object)
{
    SimCall call("INetCfg::QueryNetCfgClass");
    if (object != NULL) {
        *object = NULL;
    }
    HRESULT hr = call.Scripted();
    if (!call.Refused()) {
        if (object == NULL || classGuid == NULL) {
            hr = E_POINTER;
        } else if (!Initialized()) {
            hr = NETCFG_E_NOT_INITIALIZED;
        } else if (!IsNetworkClass(*classGuid)) {
            hr = E_INVALIDARG;
        } else {
            NetCfgClass* netClass = NetCfgClass::Create(*this, *classGuid);
            if (netClass == NULL) {
                hr = E_OUTOFMEMORY;
            } else {
                hr = netClass->Query(riid, object);
                netClass->Release();
            }
        }
    }
    return call.Finish(hr, JournalArgs().Guid(classGuid).Iid(riid).Out(object));
}

HRESULT NetCfgObject::TakeWriteLock(DWORD timeoutMs, LPCWSTR clientName, std::wstring* holder)
{
    if (Initialized()) {
        // The lock is taken before the object is initialised, never after.
        return NETCFG_E_ALREADY_INITIALIZED;
    }
    return WriteLock::Acquire(this, timeoutMs, clientName, holder);
}

HRESULT NetCfgObject::GiveBackWriteLock()
{
    if (Initialized()) {
        return NETCFG_E_ALREADY_INITIALIZED;
    }
    return WriteLock::Release(this);
}

bool NetCfgObject::Initialized()
{
    std::lock_guard<std::mutex> lock(stateGuard_);
    return initialized_;
}

HRESULT NetCfgObject::CheckWritable()
{
    if (!Initialized()) {
        return NETCFG_E_NOT_INITIALIZED;
    }
    return WriteLock::IsHeldBy(this) ? S_OK : NETCFG_E_NO_WRITE_LOCK;
}

HRESULT NetCfgObject::Find(const GUID* classFilter, LPCWSTR id, INetCfgComponent** component)
{
    HRESULT hr = CheckComponentId(id);
    if (component == NULL) {
        hr = E_POINTER;
    }
    if (FAILED(hr)) {
        return hr;
    }
    if (!Initialized()) {
        return NETCFG_E_NOT_INITIALIZED;
    }
    GUID classGuid;
    if (!IsInstalled(id, &classGuid) || (classFilter != NULL && !IsEqualGUID(*classFilter, classGuid))) {
        return S_FALSE;
    }
    *component = NetCfgComponent::Create(id, classGuid);
    return *component == NULL ? E_OUTOFMEMORY : S_OK;
}

bool NetCfgObject::IsInstalled(const std::wstring& id, GUID* classGuid)
{
    {
        std::lock_guard<std::mutex> lock(stateGuard_);
        // The latest pending change of this object decides.
        for (auto change = pending_.rbegin(); change != pending_.rend(); ++change) {
            if (SameId(change->id, id.c_str())) {
                *classGuid = change->classGuid;
                return change->install;
            }
        }
    }
    return InstalledComponents::Find(id.c_str(), classGuid);
}

void NetCfgObject::MarkPending(const std::wstring& id, const GUID& classGuid, bool install)
{
    std::lock_guard<std::mutex> lock(stateGuard_);
    pending_.push_back(PendingChange{id, classGuid, install});
}

HRESULT NetCfgLockFace::AcquireWriteLock(DWORD timeoutMs, LPCWSTR clientName, LPWSTR* holderName)
{
    SimCall call("INetCfgLock::AcquireWriteLock");
    if (holderName != NULL) {
        *holderName = NULL;
    }
    HRESULT hr = call.Scripted();
    std::wstring holder;
    if (!call.Refused()) {
        hr = holderName == NULL || clientName == NULL ? E_POINTER
                                                      : object_.TakeWriteLock(timeoutMs, clientName, &holder);
    }
    HRESULT result = call.Outcome(hr);
    if (result == S_FALSE && hr == S_OK) {
        holder = NetCfgSimScriptedHolder;
    }
    if (result == S_FALSE && holderName != NULL && FAILED(CopyToTaskMemory(holder, holderName))) {
        hr = E_OUTOFMEMORY;
    }
    return call.Finish(hr, JournalArgs().Number(timeoutMs).Text(clientName).Out(holderName));
}

HRESULT NetCfgLockFace::ReleaseWriteLock()
{
    SimCall call("INetCfgLock::ReleaseWriteLock");
    return call.Finish(call.Refused() ? call.Scripted() : object_.GiveBackWriteLock(), JournalArgs());
}

HRESULT NetCfgLockFace::IsWriteLocked(LPWSTR* holderName)
{
    SimCall call("INetCfgLock::IsWriteLocked");
    if (holderName != NULL) {
        *holderName = NULL;
    }
    HRESULT hr = call.Scripted();
    if (!call.Refused()) {
        std::wstring holder;
        if (holderName == NULL) {
            hr = E_POINTER;
        } else if (!WriteLock::IsLocked(&holder)) {
            hr = S_FALSE;
        } else {
            hr = CopyToTaskMemory(holder, holderName);
        }
    }
    return call.Finish(hr, JournalArgs().Out(holderName));
}
