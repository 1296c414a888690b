// One device class of a network configuration object: INetCfgClass and, on the same object,
// INetCfgClassSetup. Changes made through it are pending changes of its configuration object,
// which it keeps alive.
#pragma once

#include <windows.h>
#include <netcfgx.h>

#include "sim_object.h"

class NetCfgClass;
class NetCfgObject;

// The INetCfgClassSetup face of a NetCfgClass; it shares the object's identity and references.
class NetCfgClassSetupFace final : public SimFace<INetCfgClassSetup, NetCfgClass> {
public:
    explicit NetCfgClassSetupFace(NetCfgClass& object) : SimFace(object, "INetCfgClassSetup::QueryInterface") {}

    HRESULT STDMETHODCALLTYPE SelectAndInstall(HWND parent, OBO_TOKEN* onBehalf,
                                               INetCfgComponent** component) override;
    HRESULT STDMETHODCALLTYPE Install(LPCWSTR id, OBO_TOKEN* onBehalf, DWORD setupFlags,
                                      DWORD upgradeFromBuild, LPCWSTR answerFile,
                                      LPCWSTR answerSections, INetCfgComponent** component) override;
    HRESULT STDMETHODCALLTYPE DeInstall(INetCfgComponent* component, OBO_TOKEN* onBehalf,
                                        LPWSTR* references) override;
};

class NetCfgClass final : public INetCfgClass, private SimObject<NetCfgClass> {
public:
    // A new class object with one reference, or NULL when memory is short.
    static NetCfgClass* Create(NetCfgObject& config, const GUID& classGuid);

    // QueryInterface without the journal, for the simulator's own use.
    HRESULT Query(REFIID riid, void** object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        return JournaledQuery("INetCfgClass::QueryInterface", riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseReference(); }

    HRESULT STDMETHODCALLTYPE FindComponent(LPCWSTR id, INetCfgComponent** component) override;
    HRESULT STDMETHODCALLTYPE EnumComponents(IEnumNetCfgComponent** components) override;

    // For the setup face.
    HRESULT InstallComponent(LPCWSTR id, const OBO_TOKEN* onBehalf, INetCfgComponent** component);
    HRESULT RemoveComponent(INetCfgComponent* component, const OBO_TOKEN* onBehalf);

private:
    friend class SimObject<NetCfgClass>;
    NetCfgClass(NetCfgObject& config, const GUID& classGuid);
    ~NetCfgClass();

    NetCfgClassSetupFace setupFace_;
    NetCfgObject& config_;
    GUID classGuid_;
};
