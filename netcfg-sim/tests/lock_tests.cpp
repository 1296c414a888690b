// The system-wide write lock: refused to everyone but its holder, named to those refused, and
// given back by release, by the holder's last reference, or by the holder's death.
#include <objbase.h>

#include "lock_holder_process.h"
#include "simulator_fixture.h"

namespace {

class WriteLock : public SimulatorTest {
protected:
    INetCfgLock* CreateLock()
    {
        INetCfg* config = CreateConfig();
        INetCfgLock* lock = NULL;
        EXPECT_EQ(S_OK, config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock)));
        config->Release();
        return lock;
    }

    // The holder named by a refused AcquireWriteLock, freed here.
    static std::wstring Refused(INetCfgLock* lock, DWORD timeoutMs, const wchar_t* clientName)
    {
        wchar_t* holder = NULL;
        EXPECT_EQ(S_FALSE, lock->AcquireWriteLock(timeoutMs, clientName, &holder));
        std::wstring name = holder != NULL ? holder : L"(none)";
        CoTaskMemFree(holder);
        return name;
    }
};

TEST_F(WriteLock, HeldByAnotherProcessIsRefusedAfterTheWaitWithTheHoldersName)
{
    LockHolderProcess other(L"Lock Holder Tool", 60000);
    ASSERT_TRUE(other.WaitUntilHolding(20000));
    EXPECT_FALSE(NetCfgSim_IsLockFree());
    INetCfgLock* lock = CreateLock();

    DWORD started = GetTickCount();
    EXPECT_EQ(L"Lock Holder Tool", Refused(lock, 300, L"Tester"));
    EXPECT_GE(GetTickCount() - started, 250u) << "the caller's wait is honoured";
    wchar_t* holder = NULL;
    EXPECT_EQ(S_OK, lock->IsWriteLocked(&holder));
    EXPECT_STREQ(L"Lock Holder Tool", holder);
    CoTaskMemFree(holder);

    EXPECT_EQ(0u, other.Finish());
    holder = reinterpret_cast<wchar_t*>(1);
    EXPECT_EQ(S_OK, lock->AcquireWriteLock(2000, L"Tester", &holder));
    EXPECT_EQ(nullptr, holder);
    EXPECT_EQ(S_OK, lock->ReleaseWriteLock());
    lock->Release();
    EXPECT_TRUE(NetCfgSim_IsLockFree());
    // The holder journals nothing of its own into the journal it inherited.
    EXPECT_EQ(Lines({"CreateInstance(IID_INetCfg) = 0x00000000",
                     "INetCfg::QueryInterface(IID_INetCfgLock) = 0x00000000",
                     "INetCfgLock::AcquireWriteLock(300, \"Tester\") = 0x00000001",
                     "INetCfgLock::IsWriteLocked() = 0x00000000",
                     "INetCfgLock::AcquireWriteLock(2000, \"Tester\") = 0x00000000",
                     "INetCfgLock::ReleaseWriteLock() = 0x00000000"}),
              Journal());
}

TEST_F(WriteLock, HolderGivesTheLockBackWhenItsTimeIsUp)
{
    LockHolderProcess other(L"Brief Holder", 200);
    ASSERT_TRUE(other.WaitUntilHolding(20000));

    EXPECT_EQ(0u, other.WaitForExit(20000));
    EXPECT_TRUE(NetCfgSim_IsLockFree());
}

TEST_F(WriteLock, SecondObjectOfThisThreadIsRefusedUntilTheFirstReleases)
{
    INetCfgLock* first = CreateLock();
    INetCfgLock* second = CreateLock();
    wchar_t* holder = NULL;
    ASSERT_EQ(S_OK, first->AcquireWriteLock(0, L"First", &holder));

    EXPECT_EQ(L"First", Refused(second, 50, L"Second"));
    EXPECT_FALSE(NetCfgSim_IsLockFree());
    EXPECT_EQ(S_OK, first->ReleaseWriteLock());
    EXPECT_TRUE(NetCfgSim_IsLockFree());
    EXPECT_EQ(S_OK, second->AcquireWriteLock(0, L"Second", &holder));

    EXPECT_EQ(S_FALSE, first->ReleaseWriteLock()) << "only its holder gives the lock back";
    EXPECT_FALSE(NetCfgSim_IsLockFree());
    second->Release();
    EXPECT_TRUE(NetCfgSim_IsLockFree()) << "the lock goes with its object's last reference";
    first->Release();
}

TEST_F(WriteLock, ClientNamesUpTo255CharactersAreHandedBackWhole)
{
    INetCfgLock* holderLock = CreateLock();
    INetCfgLock* waiterLock = CreateLock();
    std::wstring longest(254, L'n');
    longest += L'Z';
    std::wstring tooLong(256, L'n');
    wchar_t* holder = NULL;

    EXPECT_EQ(E_INVALIDARG, holderLock->AcquireWriteLock(0, tooLong.c_str(), &holder));
    EXPECT_TRUE(NetCfgSim_IsLockFree());
    ASSERT_EQ(S_OK, holderLock->AcquireWriteLock(0, longest.c_str(), &holder));

    EXPECT_EQ(longest, Refused(waiterLock, 0, L"Waiter"));
    waiterLock->Release();
    holderLock->Release();
}

} // namespace
