// The build registers the simulator in the test prefix in place of Wine's built-in object.
#include "simulator_fixture.h"

namespace {

const wchar_t ServerKey[] =
    L"Software\\Classes\\CLSID\\{5B035261-40F9-11D1-AAEC-00805FC1270E}\\InprocServer32";

std::wstring RegisteredServer()
{
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof(path) - sizeof(wchar_t);
    RegGetValueW(HKEY_LOCAL_MACHINE, ServerKey, NULL, RRF_RT_REG_SZ, NULL, path, &size);
    return path;
}

std::wstring LoadedSimulator()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"netcfg_sim.dll"), path, MAX_PATH);
    return path;
}

using Registration = SimulatorTest;

TEST_F(Registration, CoCreateInstanceReachesTheSimulator)
{
    EXPECT_EQ(0, NetCfgSim_LiveReferences());

    INetCfg* config = CreateConfig();

    ASSERT_NE(nullptr, config);
    EXPECT_EQ(1, NetCfgSim_LiveReferences());
    config->Release();
    EXPECT_EQ(0, NetCfgSim_LiveReferences());
    EXPECT_EQ(Lines({"CreateInstance(IID_INetCfg) = 0x00000000"}), Journal());
}

TEST_F(Registration, RegisteredServerIsTheDllWhoseHooksTestsCall)
{
    EXPECT_EQ(CSTR_EQUAL, CompareStringOrdinal(RegisteredServer().c_str(), -1, LoadedSimulator().c_str(), -1, TRUE))
        << "registered: " << testing::PrintToString(RegisteredServer());
}

} // namespace
