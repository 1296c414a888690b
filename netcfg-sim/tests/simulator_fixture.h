// A fresh simulator for every test: no installed component, COM started, no script, and a
// journal file of the test's own.
#pragma once

#include <windows.h>
#include <netcfgx.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "netcfg_sim_hooks.h"
#include "netcfg_sim_steering.h"

using Lines = std::vector<std::string>;

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Takes effect at the next CoCreateInstance.
    void Script(const wchar_t* script);
    // Everything journaled so far, one entry per line.
    Lines Journal() const;

    // A new configuration object through COM, as any client gets it.
    INetCfg* CreateConfig();
    // A new configuration object with the write lock taken for "Tester" and initialised.
    INetCfg* CreateWritableConfig();

    std::wstring journalPath_;
};
