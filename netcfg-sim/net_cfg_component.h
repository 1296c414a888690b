// A network component as the configuration hands it out: its id and its class. Only the
// queries the installer makes do work; the rest return E_NOTIMPL.
#pragma once

#include <windows.h>
#include <netcfgx.h>

#include <string>

#include "sim_object.h"

class NetCfgComponent final : public INetCfgComponent, private SimObject<NetCfgComponent> {
public:
    // A new component with one reference, or NULL when memory is short.
    static NetCfgComponent* Create(const std::wstring& id, const GUID& classGuid);

    // The simulator's own component behind pointer, or NULL for anyone else's object.
    static NetCfgComponent* FromInterface(INetCfgComponent* pointer);

    const std::wstring& Id() const { return id_; }
    const GUID& ClassGuid() const { return classGuid_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseReference(); }

    HRESULT STDMETHODCALLTYPE GetDisplayName(LPWSTR* displayName) override;
    HRESULT STDMETHODCALLTYPE SetDisplayName(LPCWSTR displayName) override;
    HRESULT STDMETHODCALLTYPE GetHelpText(LPWSTR* helpText) override;
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE GetCharacteristics(LPDWORD characteristics) override;
    HRESULT STDMETHODCALLTYPE GetInstanceGuid(GUID* instanceGuid) override;
    HRESULT STDMETHODCALLTYPE GetPnpDevNodeId(LPWSTR* devNodeId) override;
    HRESULT STDMETHODCALLTYPE GetClassGuid(GUID* classGuid) override;
    HRESULT STDMETHODCALLTYPE GetBindName(LPWSTR* bindName) override;
    HRESULT STDMETHODCALLTYPE GetDeviceStatus(ULONG* status) override;
    HRESULT STDMETHODCALLTYPE OpenParamKey(HKEY* key) override;
    HRESULT STDMETHODCALLTYPE RaisePropertyUi(HWND parent, DWORD flags, IUnknown* context) override;

private:
    friend class SimObject<NetCfgComponent>;
    NetCfgComponent(const std::wstring& id, const GUID& classGuid);
    ~NetCfgComponent();

    // Copies the text into *out; NULL out gives E_POINTER.
    HRESULT HandOut(const char* method, const std::wstring& text, LPWSTR* out);

    std::wstring id_;
    GUID classGuid_;
};
