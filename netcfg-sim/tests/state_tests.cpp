// Pending changes, the prefix-wide store, and the rules for who may change what.

#include "simulator_fixture.h"

#include <devguid.h>

namespace {

const wchar_t Component[] = L"MS_NDISPROT";

class ConfigurationState : public SimulatorTest {
protected:
    // Installs id through the transport class of config; returns Install's result.
    HRESULT Install(INetCfg* config, const wchar_t* id)
    {
        INetCfgClassSetup* setup = NULL;
        HRESULT hr = config->QueryNetCfgClass(&GUID_DEVCLASS_NETTRANS, IID_INetCfgClassSetup,
                                              reinterpret_cast<void**>(&setup));
        if (hr != S_OK) {
            return hr;
        }
        OBO_TOKEN user = {};
        user.Type = OBO_USER;
        INetCfgComponent* component = NULL;
        hr = setup->Install(id, &user, 0, 0, NULL, NULL, &component);
        if (component != NULL) {
            component->Release();
        }
        setup->Release();
        return hr;
    }

    // Whether a new, read-only configuration object finds id.
    HRESULT FindInNewObject(const wchar_t* id)
    {
        INetCfg* config = CreateConfig();
        EXPECT_EQ(S_OK, config->Initialize(NULL));
        INetCfgComponent* component = reinterpret_cast<INetCfgComponent*>(1);
        HRESULT hr = config->FindComponent(id, &component);
        EXPECT_EQ(hr == S_OK, component != NULL);
        if (component != NULL) {
            component->Release();
        }
        config->Uninitialize();
        config->Release();
        return hr;
    }

    static void Close(INetCfg* config)
    {
        INetCfgLock* lock = NULL;
        EXPECT_EQ(S_OK, config->Uninitialize());
        config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock));
        EXPECT_EQ(S_OK, lock->ReleaseWriteLock());
        lock->Release();
        config->Release();
    }
};

TEST_F(ConfigurationState, AppliedInstallIsFoundByANewObject)
{
    INetCfg* config = CreateWritableConfig();
    ASSERT_EQ(S_OK, Install(config, Component));
    EXPECT_EQ(0, NetCfgSim_IsInstalled(Component)) << "not committed before Apply";

    EXPECT_EQ(S_OK, config->Apply());
    Close(config);

    EXPECT_EQ(1, NetCfgSim_IsInstalled(Component));
    EXPECT_EQ(S_OK, FindInNewObject(L"ms_ndisprot")) << "ids are compared without regard to case";
}

TEST_F(ConfigurationState, UninitializeWithoutApplyForgetsTheInstall)
{
    INetCfg* config = CreateWritableConfig();
    ASSERT_EQ(S_OK, Install(config, Component));
    INetCfgComponent* pending = NULL;
    EXPECT_EQ(S_OK, config->FindComponent(Component, &pending)) << "its own object sees the pending install";
    pending->Release();

    EXPECT_EQ(S_OK, config->Uninitialize());
    ASSERT_EQ(S_OK, config->Initialize(NULL));
    EXPECT_EQ(S_FALSE, config->FindComponent(Component, &pending));
    EXPECT_EQ(nullptr, pending);
    EXPECT_EQ(S_OK, config->Apply()) << "nothing is left to commit";
    Close(config);

    EXPECT_EQ(0, NetCfgSim_IsInstalled(Component));
    EXPECT_EQ(S_FALSE, FindInNewObject(Component));
}

TEST_F(ConfigurationState, DeInstallOfAFoundComponentIsCommittedByApply)
{
    INetCfg* config = CreateWritableConfig();
    ASSERT_EQ(S_OK, Install(config, Component));
    ASSERT_EQ(S_OK, config->Apply());
    INetCfgComponent* component = NULL;
    INetCfgClassSetup* setup = NULL;
    ASSERT_EQ(S_OK, config->FindComponent(Component, &component));
    GUID classGuid = GUID_NULL;
    EXPECT_EQ(S_OK, component->GetClassGuid(&classGuid));
    EXPECT_TRUE(IsEqualGUID(GUID_DEVCLASS_NETTRANS, classGuid));
    ASSERT_EQ(S_OK, config->QueryNetCfgClass(&classGuid, IID_INetCfgClassSetup, reinterpret_cast<void**>(&setup)));
    OBO_TOKEN user = {};
    user.Type = OBO_USER;

    EXPECT_EQ(S_OK, setup->DeInstall(component, &user, NULL));
    EXPECT_EQ(1, NetCfgSim_IsInstalled(Component));
    EXPECT_EQ(S_OK, config->Apply());

    EXPECT_EQ(0, NetCfgSim_IsInstalled(Component));
    setup->Release();
    component->Release();
    Close(config);
}

TEST_F(ConfigurationState, ChangesNeedTheWriteLockAndEverythingNeedsInitialize)
{
    INetCfg* config = CreateConfig();
    INetCfgComponent* component = NULL;

    EXPECT_EQ(NETCFG_E_NOT_INITIALIZED, config->FindComponent(Component, &component));
    EXPECT_EQ(NETCFG_E_NOT_INITIALIZED, Install(config, Component));
    EXPECT_EQ(NETCFG_E_NOT_INITIALIZED, config->Apply());
    ASSERT_EQ(S_OK, config->Initialize(NULL));
    EXPECT_EQ(NETCFG_E_NO_WRITE_LOCK, Install(config, Component));
    EXPECT_EQ(NETCFG_E_NO_WRITE_LOCK, config->Apply());
    EXPECT_EQ(NETCFG_E_ALREADY_INITIALIZED, config->Initialize(NULL));

    EXPECT_EQ(S_OK, config->Uninitialize());
    config->Release();
    EXPECT_EQ(0, NetCfgSim_IsInstalled(Component));
}

TEST_F(ConfigurationState, ComponentIdsUpTo255CharactersAreAccepted)
{
    INetCfg* config = CreateWritableConfig();
    std::wstring longest(255, L'x');
    std::wstring tooLong(256, L'y');

    EXPECT_EQ(S_OK, Install(config, longest.c_str()));
    EXPECT_EQ(E_INVALIDARG, Install(config, tooLong.c_str()));
    EXPECT_EQ(E_INVALIDARG, Install(config, L""));
    EXPECT_EQ(S_OK, config->Apply());
    Close(config);

    EXPECT_EQ(1, NetCfgSim_IsInstalled(longest.c_str()));
    EXPECT_EQ(0, NetCfgSim_IsInstalled(tooLong.c_str()));
}

} // namespace
