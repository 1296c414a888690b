#include "net_cfg_class.h"

#include <new>

#include "net_cfg_component.h"
#include "net_cfg_object.h"
#include "sim_call.h"
#include "sim_values.h"

NetCfgClass* NetCfgClass::Create(NetCfgObject& config, const GUID& classGuid)
{
    return new (std::nothrow) NetCfgClass(config, classGuid);
}

NetCfgClass::NetCfgClass(NetCfgObject& config, const GUID& classGuid)
    : setupFace_(*this), config_(config), classGuid_(classGuid)
{
    config_.AddRef();
}

NetCfgClass::~NetCfgClass()
{
    config_.Release();
}

HRESULT NetCfgClass::Query(REFIID riid, void** object)
{
    return HandOutInterface(riid, object, static_cast<INetCfgClass*>(this), IID_INetCfgClass,
                            static_cast<INetCfgClassSetup*>(&setupFace_), IID_INetCfgClassSetup);
}

HRESULT NetCfgClass::FindComponent(LPCWSTR id, INetCfgComponent** component)
{
    SimCall call("INetCfgClass::FindComponent");
    if (component != NULL) {
        *component = NULL;
    }
    HRESULT hr = call.Refused() ? call.Scripted() : config_.Find(&classGuid_, id, component);
    return call.Finish(hr, JournalArgs().Text(id).Out(component));
}

HRESULT NetCfgClass::EnumComponents(IEnumNetCfgComponent** components)
{
    return NotImplementedOut("INetCfgClass::EnumComponents", components, JournalArgs());
}

HRESULT NetCfgClass::InstallComponent(LPCWSTR id, const OBO_TOKEN* onBehalf, INetCfgComponent** component)
{
    HRESULT hr = CheckComponentId(id);
    if (SUCCEEDED(hr)) {
        hr = CheckOnBehalf(onBehalf);
    }
    if (SUCCEEDED(hr)) {
        hr = config_.CheckWritable();
    }
    if (FAILED(hr)) {
        return hr;
    }
    // The caller may not want the component back.
    if (component != NULL) {
        *component = NetCfgComponent::Create(id, classGuid_);
        if (*component == NULL) {
            return E_OUTOFMEMORY;
        }
    }
    config_.MarkPending(id, classGuid_, true);
    return S_OK;
}

HRESULT NetCfgClass::RemoveComponent(INetCfgComponent* component, const OBO_TOKEN* onBehalf)
{
    if (component == NULL) {
        return E_POINTER;
    }
    NetCfgComponent* ours = NetCfgComponent::FromInterface(component);
    if (ours == NULL) {
        return E_INVALIDARG;
    }
    HRESULT hr = CheckOnBehalf(onBehalf);
    if (SUCCEEDED(hr)) {
        hr = config_.CheckWritable();
    }
    if (FAILED(hr)) {
        return hr;
    }
    GUID installedClass;
    if (!IsEqualGUID(ours->ClassGuid(), classGuid_) || !config_.IsInstalled(ours->Id(), &installedClass) ||
        !IsEqualGUID(installedClass, classGuid_)) {
        return E_INVALIDARG;
    }
    config_.MarkPending(ours->Id(), classGuid_, false);
    return S_OK;
}

HRESULT NetCfgClassSetupFace::SelectAndInstall(HWND parent, OBO_TOKEN* onBehalf, INetCfgComponent** component)
{
    return NotImplementedOut("INetCfgClassSetup::SelectAndInstall", component,
                             JournalArgs().Pointer(parent).OnBehalf(onBehalf));
}

HRESULT NetCfgClassSetupFace::Install(LPCWSTR id, OBO_TOKEN* onBehalf, DWORD setupFlags,
                                      DWORD upgradeFromBuild, LPCWSTR answerFile, LPCWSTR answerSections,
                                      INetCfgComponent** component)
{
    SimCall call("INetCfgClassSetup::Install");
    if (component != NULL) {
        *component = NULL;
    }
    HRESULT hr = call.Refused() ? call.Scripted() : object_.InstallComponent(id, onBehalf, component);
    return call.Finish(hr, JournalArgs()
                               .Text(id)
                               .OnBehalf(onBehalf)
                               .Number(setupFlags)
                               .Number(upgradeFromBuild)
                               .Text(answerFile)
                               .Text(answerSections)
                               .Out(component));
}

HRESULT NetCfgClassSetupFace::DeInstall(INetCfgComponent* component, OBO_TOKEN* onBehalf, LPWSTR* references)
{
    SimCall call("INetCfgClassSetup::DeInstall");
    // Nothing else refers to a simulated component, so the list of references is always empty.
    if (references != NULL) {
        *references = NULL;
    }
    HRESULT hr = call.Refused() ? call.Scripted() : object_.RemoveComponent(component, onBehalf);

    JournalArgs args;
    NetCfgComponent* ours = component == NULL ? NULL : NetCfgComponent::FromInterface(component);
    if (component == NULL) {
        args.Raw("NULL");
    } else if (ours == NULL) {
        args.Raw("<foreign component>");
    } else {
        args.Text(ours->Id().c_str());
    }
    return call.Finish(hr, args.OnBehalf(onBehalf).Out(references));
}
