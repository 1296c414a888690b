// The DLL's entry points: class object, unload test, and the journal's closing line.
#include <windows.h>
#include <netcfgx.h>

#include <string>

#include "call_journal.h"
#include "class_factory.h"
#include "live_references.h"
#include "write_lock.h"

namespace {

void JournalEnd()
{
    CallJournal::Append("end: references=" + std::to_string(LiveReferences::Total()) +
                         " lock=" + (WriteLock::IsHeldInThisProcess() ? "held" : "free"));
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        JournalEnd();
        // At process exit the system closes the handles itself.
        if (reserved == NULL) {
            WriteLock::Close();
        }
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object)
{
    if (object == NULL) {
        return E_POINTER;
    }
    *object = NULL;
    if (!IsEqualCLSID(clsid, CLSID_CNetCfg)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    ClassFactory* factory = ClassFactory::Create();
    if (factory == NULL) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = factory->Query(riid, object);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow()
{
    return LiveReferences::Total() == 0 && !LiveReferences::ServerLocked() ? S_OK : S_FALSE;
}
