#include "simulator_fixture.h"

#include <objbase.h>

#include <fstream>

void SimulatorTest::SetUp()
{
    NetCfgSim_ResetState();
    wchar_t folder[MAX_PATH];
    wchar_t file[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
    ASSERT_NE(0u, GetTempFileNameW(folder, L"sim", 0, file));
    journalPath_ = file;
    SetEnvironmentVariableW(NetCfgSimJournalVariable, journalPath_.c_str());
    SetEnvironmentVariableW(NetCfgSimScriptVariable, NULL);
    ASSERT_EQ(S_OK, CoInitialize(NULL));
}

void SimulatorTest::TearDown()
{
    CoUninitialize();
    SetEnvironmentVariableW(NetCfgSimJournalVariable, NULL);
    SetEnvironmentVariableW(NetCfgSimScriptVariable, NULL);
    DeleteFileW(journalPath_.c_str());
    EXPECT_EQ(0, NetCfgSim_LiveReferences()) << "a test leaked a reference";
    NetCfgSim_ResetState();
}

void SimulatorTest::Script(const wchar_t* script)
{
    SetEnvironmentVariableW(NetCfgSimScriptVariable, script);
}

Lines SimulatorTest::Journal() const
{
    Lines lines;
    std::ifstream in(journalPath_.c_str(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

INetCfg* SimulatorTest::CreateConfig()
{
    INetCfg* config = NULL;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_CNetCfg, NULL, CLSCTX_INPROC_SERVER, IID_INetCfg,
                                     reinterpret_cast<void**>(&config)));
    return config;
}

INetCfg* SimulatorTest::CreateWritableConfig()
{
    INetCfg* config = CreateConfig();
    if (config == NULL) {
        return NULL;
    }
    INetCfgLock* lock = NULL;
    wchar_t* holder = NULL;
    EXPECT_EQ(S_OK, config->QueryInterface(IID_INetCfgLock, reinterpret_cast<void**>(&lock)));
    if (lock != NULL) {
        EXPECT_EQ(S_OK, lock->AcquireWriteLock(0, L"Tester", &holder));
        lock->Release();
    }
    EXPECT_EQ(nullptr, holder);
    EXPECT_EQ(S_OK, config->Initialize(NULL));
    return config;
}
