// Opening and closing the locked network configuration, in this process, against the simulator:
// the calls made, and that every road gives back COM, every reference and the lock.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "child_process.h"
#include "installer_texts.h"
#include "net_config.h"
#include "simulated_service.h"

namespace {

using CallList = std::vector<std::string>;

const CallList OpenCalls = {
    "CreateInstance(IID_INetCfg) = 0x00000000",
    "INetCfg::QueryInterface(IID_INetCfgLock) = 0x00000000",
    "INetCfgLock::AcquireWriteLock(5000, \"Quelmor\") = 0x00000000",
    "INetCfg::Initialize(NULL) = 0x00000000",
};
const CallList CloseCalls = {
    "INetCfg::Uninitialize() = 0x00000000",
    "INetCfg::QueryInterface(IID_INetCfgLock) = 0x00000000",
    "INetCfgLock::ReleaseWriteLock() = 0x00000000",
};

// True when COM is not initialised on this thread: a fresh CoInitialize then returns S_OK.
bool ComIsUninitialised()
{
    HRESULT hr = CoInitialize(NULL);
    CoUninitialize();
    return hr == S_OK;
}

class LockedConfiguration : public ::testing::Test {
protected:
    void SetUp() override
    {
        Simulator().ResetState();
        Steer(L"");
    }
    void TearDown() override { SteerThisProcess(journal_, L""); }

    void Steer(const std::wstring& script) { SteerThisProcess(journal_, script); }

    void ExpectNothingLeftBehind()
    {
        EXPECT_EQ(0, Simulator().LiveReferences());
        EXPECT_TRUE(Simulator().IsLockFree());
        EXPECT_TRUE(ComIsUninitialised());
    }

    // A failure the simulator is scripted to give, and the code the call under test must return.
    struct ScriptedFault {
        const wchar_t* script;
        HRESULT expected;
    };

    // Steers the simulator to each fault in turn, runs check with the code expected and then
    // checks that nothing was left behind.
    void ForEachFault(const std::vector<ScriptedFault>& faults, const std::function<void(HRESULT)>& check)
    {
        for (const ScriptedFault& fault : faults) {
            SCOPED_TRACE(Narrow(fault.script));
            Steer(fault.script);
            check(fault.expected);
            ExpectNothingLeftBehind();
        }
    }

    JournalFile journal_;
};

TEST_F(LockedConfiguration, OpenThenCloseCallsInOrderAndGivesEverythingBack)
{
    NetConfigHandle netConfig = NULL;
    wchar_t* holder = NULL;

    ASSERT_EQ(S_OK, OpenNetConfig(true, LockClientName, &netConfig, &holder));
    EXPECT_NE(nullptr, netConfig);
    EXPECT_EQ(nullptr, holder);
    EXPECT_EQ(1, Simulator().LiveReferences());
    EXPECT_FALSE(Simulator().IsLockFree());

    EXPECT_EQ(S_OK, CloseNetConfig(netConfig, true));
    CallList expected = OpenCalls;
    expected.insert(expected.end(), CloseCalls.begin(), CloseCalls.end());
    EXPECT_EQ(expected, journal_.Lines());
    ExpectNothingLeftBehind();
}

TEST_F(LockedConfiguration, OpenWithComAlreadyInitialisedReturnsOneAndCreatesNothing)
{
    ASSERT_EQ(S_OK, CoInitialize(NULL));
    NetConfigHandle netConfig = reinterpret_cast<NetConfigHandle>(1);
    wchar_t* holder = reinterpret_cast<wchar_t*>(1);

    EXPECT_EQ(S_FALSE, OpenNetConfig(true, LockClientName, &netConfig, &holder));

    EXPECT_EQ(nullptr, netConfig);
    EXPECT_EQ(nullptr, holder);
    EXPECT_EQ(CallList(), journal_.Lines());
    // COM is the caller's: still initialised once, by the test.
    EXPECT_EQ(S_FALSE, CoInitialize(NULL));
    CoUninitialize();
    CoUninitialize();
    ExpectNothingLeftBehind();
}

TEST_F(LockedConfiguration, InitializeFailingAfterTheLockReleasesTheLockFirst)
{
    Steer(L"INetCfg::Initialize=0x80004005");
    NetConfigHandle netConfig = NULL;
    wchar_t* holder = NULL;

    EXPECT_EQ(E_FAIL, OpenNetConfig(true, LockClientName, &netConfig, &holder));

    EXPECT_EQ(nullptr, netConfig);
    EXPECT_EQ(CallList({OpenCalls[0], OpenCalls[1], OpenCalls[2], "INetCfg::Initialize(NULL) = 0x80004005",
                     "INetCfgLock::ReleaseWriteLock() = 0x00000000"}),
              journal_.Lines());
    ExpectNothingLeftBehind();
}

TEST_F(LockedConfiguration, EveryFailedOpenStepReturnsItsCodeAndLeavesNothingBehind)
{
    const std::vector<ScriptedFault> faults = {
        {L"CreateInstance=0x80040154", static_cast<HRESULT>(0x80040154)},
        {L"INetCfg::QueryInterface=0x80004002", E_NOINTERFACE},
        {L"INetCfgLock::AcquireWriteLock=0x80070005", E_ACCESSDENIED},
        {L"INetCfgLock::AcquireWriteLock=0x00000001", static_cast<HRESULT>(0x8004A024)},
        {L"INetCfg::Initialize=0x8007000E", E_OUTOFMEMORY},
    };
    ForEachFault(faults, [&](HRESULT expected) {
        NetConfigHandle netConfig = NULL;
        wchar_t* holder = NULL;

        EXPECT_EQ(expected, OpenNetConfig(true, LockClientName, &netConfig, &holder));

        EXPECT_EQ(nullptr, netConfig);
        if (holder != NULL) {
            CoTaskMemFree(holder);
        }
    });
}

TEST_F(LockedConfiguration, EveryFailedCloseStepReturnsItsCodeAndStillGivesEverythingBack)
{
    const std::vector<ScriptedFault> faults = {
        {L"INetCfg::Uninitialize=0x80004005", E_FAIL},
        {L"INetCfg::QueryInterface#2=0x80004002", E_NOINTERFACE},
        {L"INetCfgLock::ReleaseWriteLock=0x8000FFFF", E_UNEXPECTED},
    };
    ForEachFault(faults, [&](HRESULT expected) {
        NetConfigHandle netConfig = NULL;
        wchar_t* holder = NULL;
        ASSERT_EQ(S_OK, OpenNetConfig(true, LockClientName, &netConfig, &holder));

        EXPECT_EQ(expected, CloseNetConfig(netConfig, true));
    });
}

TEST_F(LockedConfiguration, LockHeldByAnotherProgramIsRefusedWithTheHoldersName)
{
    LockHolderProcess other(OtherLockHolderName, OtherLockHolderMs);
    ASSERT_TRUE(other.WaitUntilHolding(INFINITE));
    NetConfigHandle netConfig = NULL;
    wchar_t* holder = NULL;

    DWORD started = GetTickCount();
    HRESULT hr = OpenNetConfig(true, LockClientName, &netConfig, &holder);
    DWORD waited = GetTickCount() - started;
    other.Finish();

    EXPECT_EQ(static_cast<HRESULT>(0x8004A024), hr);
    EXPECT_EQ(nullptr, netConfig);
    ASSERT_NE(nullptr, holder);
    EXPECT_STREQ(L"Lock Holder Tool", holder);
    CoTaskMemFree(holder);
    EXPECT_GE(waited, 4900u) << "the lock is waited for 5000 ms";
    EXPECT_EQ(0, Simulator().LiveReferences());
    EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(LockedConfiguration, OpenWithoutTheLockTakesNoLock)
{
    NetConfigHandle netConfig = NULL;

    ASSERT_EQ(S_OK, OpenNetConfig(false, LockClientName, &netConfig, NULL));
    EXPECT_TRUE(Simulator().IsLockFree());
    EXPECT_EQ(S_OK, CloseNetConfig(netConfig, false));

    EXPECT_EQ(CallList({OpenCalls[0], OpenCalls[3], CloseCalls[0]}), journal_.Lines());
    ExpectNothingLeftBehind();
}

} // namespace
