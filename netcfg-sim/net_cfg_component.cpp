#include "net_cfg_component.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

#include "live_references.h"
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
    : references_(1), id_(id), classGuid_(classGuid)
{
    LiveReferences::Taken();
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
    SimCall call("INetCfgComponent::QueryInterface");
    if (object != NULL) {
        *object = NULL;
    }
    HRESULT hr = E_NOINTERFACE;
    if (call.Refused()) {
        hr = call.Scripted();
    } else if (object == NULL) {
        hr = E_POINTER;
    } else if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_INetCfgComponent)) {
        AddRef();
        *object = static_cast<INetCfgComponent*>(this);
        hr = S_OK;
    }
    return call.Finish(hr, JournalArgs().Iid(riid).Out(object));
}

ULONG NetCfgComponent::AddRef()
{
    LiveReferences::Taken();
    return ++references_;
}

ULONG NetCfgComponent::Release()
{
    LiveReferences::Given();
    ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
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

HRESULT NetCfgComponent::NotImplemented(const char* method, void** out)
{
    SimCall call(method);
    if (out != NULL) {
        *out = NULL;
    }
    return call.Finish(call.Refused() ? call.Scripted() : E_NOTIMPL, JournalArgs().Out(out));
}

HRESULT NetCfgComponent::GetDisplayName(LPWSTR* displayName)
{
    return HandOut("INetCfgComponent::GetDisplayName", id_, displayName);
}

HRESULT NetCfgComponent::SetDisplayName(LPCWSTR displayName)
{
    SimCall call("INetCfgComponent::SetDisplayName");
    return call.Finish(call.Refused() ? call.Scripted() : E_NOTIMPL, JournalArgs().Text(displayName));
}

HRESULT NetCfgComponent::GetHelpText(LPWSTR* helpText)
{
    return NotImplemented("INetCfgComponent::GetHelpText", reinterpret_cast<void**>(helpText));
}

HRESULT NetCfgComponent::GetId(LPWSTR* id)
{
    return HandOut("INetCfgComponent::GetId", id_, id);
}

HRESULT NetCfgComponent::GetCharacteristics(LPDWORD characteristics)
{
    SimCall call("INetCfgComponent::GetCharacteristics");
    return call.Finish(call.Refused() ? call.Scripted() : E_NOTIMPL, JournalArgs().Out(characteristics));
}

HRESULT NetCfgComponent::GetInstanceGuid(GUID* instanceGuid)
{
    SimCall call("INetCfgComponent::GetInstanceGuid");
    return call.Finish(call.Refused() ? call.Scripted() : E_NOTIMPL, JournalArgs().Out(instanceGuid));
}

HRESULT NetCfgComponent::GetPnpDevNodeId(LPWSTR* devNodeId)
{
    return NotImplemented("INetCfgComponent::GetPnpDevNodeId", reinterpret_cast<void**>(devNodeId));
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
    return NotImplemented("INetCfgComponent::GetBindName", reinterpret_cast<void**>(bindName));
}

HRESULT NetCfgComponent::GetDeviceStatus(ULONG* status)
{
    SimCall call("INetCfgComponent::GetDeviceStatus");
    return call.Finish(call.Refused() ? call.Scripted() : E_NOTIMPL, JournalArgs().Out(status));
}

HRESULT NetCfgComponent::OpenParamKey(HKEY* key)
{
    return NotImplemented("INetCfgComponent::OpenParamKey", reinterpret_cast<void**>(key));
}

HRESULT NetCfgComponent::RaisePropertyUi(HWND parent, DWORD flags, IUnknown* context)
{
    SimCall call("INetCfgComponent::RaisePropertyUi");
    return call.Finish(call.Refused() ? call.Scripted() : E_NOTIMPL,
                       JournalArgs().Pointer(parent).Number(flags).Pointer(context));
}
