// COM identity and reference counting: each object answers for itself and its second face,
// every face gives the same IUnknown, and every reference handed out is counted.

#include "simulator_fixture.h"

#include <devguid.h>

namespace {

using Identity = SimulatorTest;

TEST_F(Identity, ConfigurationAndItsLockAreOneObject)
{
    INetCfg* config = CreateConfig();
    ASSERT_NE(nullptr, config);
    INetCfgLock* lock = NULL;
    IUnknown* unknownOfConfig = NULL;
    IUnknown* unknownOfLock = NULL;
    INetCfg* configOfLock = NULL;

    ASSERT_EQ(S_OK, config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock)));
    ASSERT_EQ(S_OK, config->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownOfConfig)));
    ASSERT_EQ(S_OK, lock->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownOfLock)));
    ASSERT_EQ(S_OK, lock->QueryInterface(IID_INetCfg, reinterpret_cast<void**>(&configOfLock)));

    EXPECT_EQ(unknownOfConfig, unknownOfLock);
    EXPECT_EQ(config, configOfLock);
    EXPECT_EQ(5, NetCfgSim_LiveReferences());

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, lock->QueryInterface(IID_INetCfgClass, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(E_POINTER, config->QueryInterface(IID_INetCfg, NULL));
    EXPECT_EQ(5, NetCfgSim_LiveReferences());

    configOfLock->Release();
    unknownOfLock->Release();
    unknownOfConfig->Release();
    lock->Release();
    EXPECT_EQ(2u, config->AddRef());
    EXPECT_EQ(1u, config->Release());
    EXPECT_EQ(0u, config->Release());
}

TEST_F(Identity, ClassAndItsSetupAreOneObjectThatKeepsTheConfigurationAlive)
{
    INetCfg* config = CreateWritableConfig();
    ASSERT_NE(nullptr, config);
    INetCfgClass* netClass = NULL;
    INetCfgClassSetup* setup = NULL;
    IUnknown* unknownOfClass = NULL;
    IUnknown* unknownOfSetup = NULL;

    ASSERT_EQ(S_OK, config->QueryNetCfgClass(&GUID_DEVCLASS_NETTRANS, IID_INetCfgClass,
                                             reinterpret_cast<void**>(&netClass)));
    ASSERT_EQ(S_OK, netClass->QueryInterface(IID_INetCfgClassSetup, reinterpret_cast<void**>(&setup)));
    ASSERT_EQ(S_OK, netClass->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownOfClass)));
    ASSERT_EQ(S_OK, setup->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownOfSetup)));
    EXPECT_EQ(unknownOfClass, unknownOfSetup);
    unknownOfClass->Release();
    unknownOfSetup->Release();

    // The class holds its configuration, write lock included, after the caller let go.
    config->Release();
    EXPECT_FALSE(NetCfgSim_IsLockFree());
    OBO_TOKEN user = {};
    user.Type = OBO_USER;
    EXPECT_EQ(S_OK, setup->Install(L"MS_NDISPROT", &user, 0, 0, NULL, NULL, NULL));

    setup->Release();
    netClass->Release();
    EXPECT_EQ(0, NetCfgSim_LiveReferences());
    EXPECT_TRUE(NetCfgSim_IsLockFree()) << "the lock goes with the last reference to its object";
}

} // namespace
