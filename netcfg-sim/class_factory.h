// The class factory of CLSID_CNetCfg. Each CreateInstance first reads the script again.
#pragma once

#include <windows.h>

#include "sim_object.h"

class ClassFactory final : public IClassFactory, private SimObject<ClassFactory> {
public:
    // A new factory with one reference, or NULL when memory is short.
    static ClassFactory* Create();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        return JournaledQuery("IClassFactory::QueryInterface", riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseReference(); }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

    // QueryInterface without the journal, for DllGetClassObject.
    HRESULT Query(REFIID riid, void** object);

private:
    friend class SimObject<ClassFactory>;
    ClassFactory() = default;
    ~ClassFactory() = default;
};
