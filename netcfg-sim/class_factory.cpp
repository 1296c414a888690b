#include "class_factory.h"

#include <new>

#include "call_script.h"
#include "method_names.h"
#include "net_cfg_object.h"

ClassFactory* ClassFactory::Create()
{
    return new (std::nothrow) ClassFactory();
}

HRESULT ClassFactory::Query(REFIID riid, void** object)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        AddRef();
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *object = NULL;
    return E_NOINTERFACE;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object)
{
    // A new configuration object starts a new script: read again, every count from 1, this call
    // being the first.
    CallScript::Reload();
    SimCall call(MethodNames::CreateInstance);
    if (object != NULL) {
        *object = NULL;
    }
    HRESULT hr = call.Scripted();
    if (!call.Refused()) {
        if (object == NULL) {
            hr = E_POINTER;
        } else if (outer != NULL) {
            hr = CLASS_E_NOAGGREGATION;
        } else {
            NetCfgObject* config = NetCfgObject::Create();
            if (config == NULL) {
                hr = E_OUTOFMEMORY;
            } else {
                hr = config->Query(riid, object);
                config->Release();
            }
        }
    }
    return call.Finish(hr, JournalArgs().Iid(riid).Out(object));
}

HRESULT ClassFactory::LockServer(BOOL lock)
{
    SimCall call("IClassFactory::LockServer");
    HRESULT hr = call.Scripted();
    if (!call.Refused()) {
        LiveReferences::LockServer(lock != FALSE);
        hr = S_OK;
    }
    return call.Finish(hr, JournalArgs().Number(static_cast<unsigned long>(lock)));
}
