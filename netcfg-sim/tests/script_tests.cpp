// Scripted results: each rule form, success codes that still do the work, and malformed rules.
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "simulator_fixture.h"

#include <devguid.h>

namespace {

const HRESULT RebootNeeded = 0x0004A020;

class ScriptedResults : public SimulatorTest {
protected:
    static HRESULT QueryLock(INetCfg* config)
    {
        INetCfgLock* lock = reinterpret_cast<INetCfgLock*>(1);
        HRESULT hr = config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock));
        EXPECT_EQ(SUCCEEDED(hr), lock != NULL);
        if (lock != NULL) {
            lock->Release();
        }
        return hr;
    }
};

TEST_F(ScriptedResults, MethodRuleFailsEveryCallAndDoesNothing)
{
    Script(L"INetCfg::Initialize=0x80004005");
    INetCfg* config = CreateConfig();

    EXPECT_EQ(E_FAIL, config->Initialize(NULL));
    EXPECT_EQ(E_FAIL, config->Initialize(NULL));

    EXPECT_EQ(NETCFG_E_NOT_INITIALIZED, config->Uninitialize());
    config->Release();
}

TEST_F(ScriptedResults, NumberedMethodRuleFailsOnlyThatCallOfTheMethod)
{
    Script(L"INetCfg::QueryInterface#2=0x80004002");
    INetCfg* config = CreateConfig();

    EXPECT_EQ(S_OK, QueryLock(config));
    EXPECT_EQ(E_NOINTERFACE, QueryLock(config));
    EXPECT_EQ(S_OK, QueryLock(config));
    config->Release();
}

TEST_F(ScriptedResults, NumberedCallRuleCountsEveryJournaledCallFromCreateInstance)
{
    Script(L"#3=0x8007000E");
    INetCfg* config = CreateConfig();
    INetCfgLock* lock = NULL;
    ASSERT_EQ(S_OK, config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock)));
    wchar_t* holder = reinterpret_cast<wchar_t*>(1);

    EXPECT_EQ(E_OUTOFMEMORY, lock->AcquireWriteLock(0, L"Tester", &holder));
    EXPECT_EQ(nullptr, holder);
    EXPECT_TRUE(NetCfgSim_IsLockFree());
    EXPECT_EQ(S_OK, lock->AcquireWriteLock(0, L"Tester", &holder));

    lock->Release();
    config->Release();
}

TEST_F(ScriptedResults, InstallAskingForRestartStillInstalls)
{
    Script(L"INetCfgClassSetup::Install=0x0004A020");
    INetCfg* config = CreateWritableConfig();
    INetCfgClassSetup* setup = NULL;
    ASSERT_EQ(S_OK, config->QueryNetCfgClass(&GUID_DEVCLASS_NETTRANS, IID_INetCfgClassSetup,
                                             reinterpret_cast<void**>(&setup)));
    OBO_TOKEN user = {};
    user.Type = OBO_USER;
    INetCfgComponent* component = NULL;

    EXPECT_EQ(RebootNeeded, setup->Install(L"MS_NDISPROT", &user, 0, 0, NULL, NULL, &component));
    EXPECT_NE(nullptr, component);
    EXPECT_EQ(S_OK, config->Apply());

    EXPECT_EQ(1, NetCfgSim_IsInstalled(L"MS_NDISPROT"));
    if (component != NULL) {
        component->Release();
    }
    setup->Release();
    config->Release();
}

TEST_F(ScriptedResults, LockScriptedAsRefusedIsTakenAndNamesTheScriptedHolder)
{
    Script(L"INetCfgLock::AcquireWriteLock=0x00000001");
    INetCfg* config = CreateConfig();
    INetCfgLock* lock = NULL;
    ASSERT_EQ(S_OK, config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock)));
    wchar_t* holder = NULL;

    EXPECT_EQ(S_FALSE, lock->AcquireWriteLock(0, L"Tester", &holder));

    EXPECT_STREQ(NetCfgSimScriptedHolder, holder);
    CoTaskMemFree(holder);
    EXPECT_FALSE(NetCfgSim_IsLockFree()) << "the work was done: the object holds the lock";
    lock->Release();
    config->Release();
    EXPECT_TRUE(NetCfgSim_IsLockFree());
}

TEST_F(ScriptedResults, MalformedRulesAreReportedAndIgnored)
{
    Script(L"nonsense; INetCfg::Aply=0x1;INetCfg::Apply#0=0x1;#=0x1;INetCfg::Apply=0x123456789;"
           L"INetCfg::Apply=80004005 ; INetCfg::Initialize = 0x80004005 ;");
    wchar_t folder[MAX_PATH];
    wchar_t errorsPath[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"err", 0, errorsPath);
    FILE* errors = _wfopen(errorsPath, L"w");
    ASSERT_NE(nullptr, errors);
    std::fflush(stderr);
    int savedStderr = _dup(2);
    _dup2(_fileno(errors), 2);

    INetCfg* config = CreateConfig();

    std::fflush(stderr);
    _dup2(savedStderr, 2);
    _close(savedStderr);
    std::fclose(errors);
    std::ifstream in(errorsPath);
    std::stringstream reported;
    reported << in.rdbuf();
    in.close();
    DeleteFileW(errorsPath);

    ASSERT_NE(nullptr, config);
    EXPECT_EQ(E_FAIL, config->Initialize(NULL)) << "the good rule still applies";
    config->Release();
    std::string expected =
        "netcfg_sim: ignoring script rule \"nonsense\": no '=' before the result code\n"
        "netcfg_sim: ignoring script rule \"INetCfg::Aply=0x1\": unknown method name 'INetCfg::Aply'\n"
        "netcfg_sim: ignoring script rule \"INetCfg::Apply#0=0x1\": the call number after '#' is not a whole "
        "number from 1 to 1000000000\n"
        "netcfg_sim: ignoring script rule \"#=0x1\": the call number after '#' is not a whole number from 1 "
        "to 1000000000\n"
        "netcfg_sim: ignoring script rule \"INetCfg::Apply=0x123456789\": the result code is not 0x followed "
        "by 1 to 8 hexadecimal digits\n"
        "netcfg_sim: ignoring script rule \"INetCfg::Apply=80004005\": the result code is not 0x followed by 1 "
        "to 8 hexadecimal digits\n";
    std::string text = reported.str();
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    EXPECT_EQ(expected, text);
}

} // namespace
