// The class factory of CLSID_CNetCfg. Each CreateInstance first reads the script again.
#pragma once

#include <windows.h>

#include <atomic>

class ClassFactory final : public IClassFactory {
public:
    // A new factory with one reference, or NULL when memory is short.
    static ClassFactory* Create();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

    // QueryInterface without the journal, for DllGetClassObject.
    HRESULT Query(REFIID riid, void** object);

private:
    ClassFactory();
    ~ClassFactory() = default;

    std::atomic<ULONG> references_;
};
