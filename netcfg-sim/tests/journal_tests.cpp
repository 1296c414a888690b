// The journal: one line per call, written the way the installer's tests compare it.
#include <objbase.h>

#include "simulator_fixture.h"

#include <devguid.h>

namespace {

using CallJournal = SimulatorTest;

TEST_F(CallJournal, ASequenceOfCallsIsJournaledLineByLine)
{
    INetCfg* config = CreateConfig();
    INetCfgLock* lock = NULL;
    INetCfgClassSetup* setup = NULL;
    INetCfgComponent* component = NULL;
    INetCfgComponent* missing = NULL;
    wchar_t* holder = NULL;
    void* nothing = NULL;
    OBO_TOKEN user = {};
    user.Type = OBO_USER;
    OBO_TOKEN software = {};
    software.Type = OBO_SOFTWARE;

    config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock));
    lock->AcquireWriteLock(5000, L"Quelmor", &holder);
    config->Initialize(NULL);
    config->QueryNetCfgClass(&GUID_DEVCLASS_NETTRANS, IID_INetCfgClassSetup,
                             reinterpret_cast<void**>(&setup));
    setup->Install(L"MS_NDISPROT", &user, 0, 0, NULL, NULL, &component);
    component->QueryInterface(IID_IDispatch, &nothing);
    component->GetId(NULL);
    setup->DeInstall(component, &software, NULL);
    config->Apply();
    config->FindComponent(L"Say \"h\u00e9\"\\", &missing);
    config->Uninitialize();
    lock->ReleaseWriteLock();
    component->Release();
    setup->Release();
    lock->Release();
    config->Release();

    EXPECT_EQ(Lines({
                  "CreateInstance(IID_INetCfg) = 0x00000000",
                  "INetCfg::QueryInterface(IID_INetCfgLock) = 0x00000000",
                  "INetCfgLock::AcquireWriteLock(5000, \"Quelmor\") = 0x00000000",
                  "INetCfg::Initialize(NULL) = 0x00000000",
                  "INetCfg::QueryNetCfgClass({4D36E975-E325-11CE-BFC1-08002BE10318}, IID_INetCfgClassSetup) = "
                  "0x00000000",
                  "INetCfgClassSetup::Install(\"MS_NDISPROT\", OBO_USER, 0, 0, NULL, NULL) = 0x00000000",
                  "INetCfgComponent::QueryInterface({00020400-0000-0000-C000-000000000046}) = 0x80004002",
                  "INetCfgComponent::GetId(NULL) = 0x80004003",
                  "INetCfgClassSetup::DeInstall(\"MS_NDISPROT\", OBO_SOFTWARE, NULL) = 0x00000000",
                  "INetCfg::Apply() = 0x00000000",
                  "INetCfg::FindComponent(\"Say \\\"h\\u00E9\\\"\\\\\") = 0x00000001",
                  "INetCfg::Uninitialize() = 0x00000000",
                  "INetCfgLock::ReleaseWriteLock() = 0x00000000",
              }),
              Journal());
}

TEST_F(CallJournal, UnloadingTheDllEndsTheJournalWithWhatItLeft)
{
    // A copy of the DLL under another name loads as a module of its own, which this test can
    // unload while the hooks' copy stays.
    wchar_t folder[MAX_PATH];
    wchar_t copy[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"dll", 0, copy);
    wchar_t original[MAX_PATH];
    GetModuleFileNameW(GetModuleHandleW(L"netcfg_sim.dll"), original, MAX_PATH);
    ASSERT_TRUE(CopyFileW(original, copy, FALSE));
    HMODULE module = LoadLibraryW(copy);
    ASSERT_NE(nullptr, module);
    auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    ASSERT_NE(nullptr, getClassObject);
    IClassFactory* factory = NULL;
    INetCfg* leaked = NULL;
    ASSERT_EQ(S_OK, getClassObject(CLSID_CNetCfg, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    ASSERT_EQ(S_OK, factory->CreateInstance(NULL, IID_INetCfg, reinterpret_cast<void**>(&leaked)));
    factory->Release();

    FreeLibrary(module);
    DeleteFileW(copy);

    EXPECT_EQ(Lines({"CreateInstance(IID_INetCfg) = 0x00000000", "end: references=1 lock=free"}), Journal());
}

} // namespace
