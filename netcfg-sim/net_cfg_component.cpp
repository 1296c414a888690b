#include "net_cfg_component.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

#include "sim_call.h"
#include "sim_values.h"

namespace {

// Every live component, so that DeInstall can tell ours from a stranger's object.
std::mutex LiveComponentsLock;
std::vector<NetCfgComponent*> LiveComponents;

} // namespace

NetCfgComponent* NetCfgComponent::Create(const std::wstring& id, const GUID& classGuid)
{
    return new (std::nothrow) NetCfgComponent(id, classGuid);
}

NetCfgComponent* NetCfgComponent::FromInterface(INetCfgComponent* pointer)
{
    std::lock_guard<std::mutex> lock(LiveComponentsLock);
    for (NetCfgComponent* component : LiveComponents) {
        if (static_cast<INetCfgComponent*>(component) == pointer) {
            return component;
        }
    }
    return NULL;
}

NetCfgComponent::NetCfgComponent(const std::wstring& id, const GUID& classGuid)
    : id_(id), classGuid_(classGuid)
{
    std::lock_guard<std::mutex> lock(LiveComponentsLock);
    LiveComponents.push_back(this);
}

NetCfgComponent::~NetCfgComponent()
{
    std::lock_guard<std::mutex> lock(LiveComponentsLock);
    LiveComponents.erase(std::remove(LiveComponents.begin(), LiveComponents.end(), this),
                         LiveComponents.end());
}

HRESULT NetCfgComponent::QueryInterface(REFIID riid, void** object)
{
    return JournaledQueryInterface("INetCfgComponent::QueryInterface", riid, object,
                                   [this](REFIID iid, void** out) {
                                       if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_INetCfgComponent)) {
                                           return E_NOINTERFACE;
                                       }
                                       AddRef();
                                       *out = static_cast<INetCfgComponent*>(this);
                                       return S_OK;
                                   });
}

HRESULT NetCfgComponent::HandOut(const char* method, const std::wstring& text, LPWSTR* out)
{
    SimCall call(method);
    if (out != NULL) {
        *out = NULL;
    }
    HRESULT hr = call.Refused() ? call.Scripted() : out == NULL ? E_POINTER : CopyToTaskMemory(text, out);
    return call.Finish(hr, JournalArgs().Out(out));
}

HRESULT NetCfgComponent::GetDisplayName(LPWSTR* displayName)
{
    return HandOut("INetCfgComponent::GetDisplayName", id_, displayName);
}

HRESULT NetCfgComponent::SetDisplayName(LPCWSTR displayName)
{
    return NotImplemented("INetCfgComponent::SetDisplayName", JournalArgs().Text(displayName));
}

HRESULT NetCfgComponent::GetHelpText(LPWSTR* helpText)
{
    return NotImplementedOut("INetCfgComponent::GetHelpText", helpText, JournalArgs());
}

HRESULT NetCfgComponent::GetId(LPWSTR* id)
{
    return HandOut("INetCfgComponent::GetId", id_, id);
}

HRESULT NetCfgComponent::GetCharacteristics(LPDWORD characteristics)
{
    return NotImplemented("INetCfgComponent::GetCharacteristics", JournalArgs().Out(characteristics));
}

HRESULT NetCfgComponent::GetInstanceGuid(GUID* instanceGuid)
{
    return NotImplemented("INetCfgComponent::GetInstanceGuid", JournalArgs().Out(instanceGuid));
}

HRESULT NetCfgComponent::GetPnpDevNodeId(LPWSTR* devNodeId)
{
    return NotImplementedOut("INetCfgComponent::GetPnpDevNodeId", devNodeId, JournalArgs());
}

HRESULT NetCfgComponent::GetClassGuid(GUID* classGuid)
{
    SimCall call("INetCfgComponent::GetClassGuid");
    if (classGuid != NULL) {
        *classGuid = GUID_NULL;
    }
    HRESULT hr = E_POINTER;
    if (call.Refused()) {
        hr = call.Scripted();
    } else if (classGuid != NULL) {
        *classGuid = classGuid_;
        hr = S_OK;
    }
    return call.Finish(hr, JournalArgs().Out(classGuid));
}

HRESULT NetCfgComponent::GetBindName(LPWSTR* bindName)
{
    return NotImplementedOut("INetCfgComponent::GetBindName", bindName, JournalArgs());
}

HRESULT NetCfgComponent::GetDeviceStatus(ULONG* status)
{
    return NotImplemented("INetCfgComponent::GetDeviceStatus", JournalArgs().Out(status));
}

HRESULT NetCfgComponent::OpenParamKey(HKEY* key)
{
    return NotImplementedOut("INetCfgComponent::OpenParamKey", key, JournalArgs());
}

HRESULT NetCfgComponent::RaisePropertyUi(HWND parent, DWORD flags, IUnknown* context)
{
    return NotImplemented("INetCfgComponent::RaisePropertyUi",
                          JournalArgs().Pointer(parent).Number(flags).Pointer(context));
}
