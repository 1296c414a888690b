// The build registers the simulator in the test prefix in place of Wine's built-in object.
#include "simulator_fixture.h"

namespace {

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

} // namespace
