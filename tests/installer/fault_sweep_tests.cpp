// A failure injected at each call the commands make, one call at a time: the output each failure
// gives, and that none of them leaks a reference or the lock.
#include "installer_run.h"

#include <cstdio>

namespace {

struct FaultPoint {
    const char* call;       // the call made to fail, as the journal names it
    const char* reported;   // the error message printed for it, or "" for none
    bool finalError;        // install only: followed by the "InstallSpecifiedComponent" error
    bool installedAfter;    // the component's state once the run is over
};

const FaultPoint InstallFaults[] = {
    {"CreateInstance", "Couldn't the get notify object interface.", true, false},
    {"INetCfg::QueryInterface", "Couldn't the get notify object interface.", true, false},
    {"INetCfgLock::AcquireWriteLock", "Couldn't the get notify object interface.", true, false},
    {"INetCfg::Initialize", "Couldn't the get notify object interface.", true, false},
    {"INetCfg::QueryNetCfgClass", "Couldn't install the network component.", true, false},
    {"INetCfgClassSetup::Install", "Couldn't install the network component.", true, false},
    {"INetCfg::Apply", "Couldn't install the network component.", true, false},
    {"INetCfg::Apply", "", true, true},
    // Failures while closing are ignored.
    {"INetCfg::Uninitialize", "", false, true},
    {"INetCfg::QueryInterface", "", false, true},
    {"INetCfgLock::ReleaseWriteLock", "", false, true},
};

const FaultPoint UninstallFaults[] = {
    {"CreateInstance", "Couldn't get the notify object interface.", false, true},
    {"INetCfg::QueryInterface", "Couldn't get the notify object interface.", false, true},
    {"INetCfgLock::AcquireWriteLock", "Couldn't get the notify object interface.", false, true},
    {"INetCfg::Initialize", "Couldn't get the notify object interface.", false, true},
    {"INetCfg::FindComponent", "Couldn't get an interface pointer to MS_NDISPROT.", false, true},
    {"INetCfgComponent::GetClassGuid", "Couldn't get the class guid of MS_NDISPROT.", false, true},
    {"INetCfg::QueryNetCfgClass", "Couldn't get a pointer to class interface of MS_NDISPROT.", false, true},
    {"INetCfgClass::QueryInterface", "Couldn't get an interface to setup class.", false, true},
    {"INetCfgClassSetup::DeInstall", "Failed to uninstall MS_NDISPROT.", false, true},
    {"INetCfg::Apply", "Couldn't apply the changes after uninstalling MS_NDISPROT.", false, true},
    {"INetCfg::Uninitialize", "", false, false},
    {"INetCfg::QueryInterface", "", false, false},
    {"INetCfgLock::ReleaseWriteLock", "", false, false},
};

const char Injected[] = "0x80004005";

std::string ExpectedErrors(const FaultPoint& fault)
{
    std::string text;
    if (*fault.reported != '\0') {
        text += std::string("Error ") + Injected + ": " + fault.reported + Cause(E_Unspecified);
    }
    if (fault.finalError) {
        text += std::string("Error ") + Injected + ": InstallSpecifiedComponent\n" + Cause(E_Unspecified);
    }
    return text;
}

class FaultSweep : public InstallerRun {
protected:
    // Fails call number `at` of the run and checks everything the run left.
    void InjectAt(size_t at, const FaultPoint& fault, const wchar_t* command, const std::string& progress)
    {
        SCOPED_TRACE("fault at call " + std::to_string(at) + ", " + fault.call);
        ProgramRun run = Run(command, L"#" + std::to_wstring(at) + L"=" + std::wstring(Injected, Injected + 10));

        EXPECT_EQ(progress + ExpectedErrors(fault), run.output);
        EXPECT_EQ(0, run.exitCode);
        std::vector<std::string> calls = Calls();
        ASSERT_GT(calls.size(), at);
        EXPECT_EQ(0u, calls[at - 1].find(fault.call)) << calls[at - 1];
        EXPECT_NE(std::string::npos, calls[at - 1].find(std::string("= ") + Injected)) << calls[at - 1];
        EXPECT_EQ(CleanEnd, calls.back());
        EXPECT_EQ(fault.installedAfter, Simulator().IsInstalled(L"MS_NDISPROT") != 0);
    }
};

TEST_F(FaultSweep, InstallSurvivesAFailureAtEveryCall)
{
    // The sweep must cover every call a clean install makes.
    Run(L"/Install");
    ASSERT_EQ(sizeof(InstallFaults) / sizeof(InstallFaults[0]) + 1, Calls().size());

    size_t at = 0;
    for (const FaultPoint& fault : InstallFaults) {
        StartOver();
        InjectAt(++at, fault, L"/Install", InstallProgress());
    }
    std::printf("install: %u fault points covered\n", static_cast<unsigned>(at));
}

TEST_F(FaultSweep, UninstallSurvivesAFailureAtEveryCall)
{
    InstallBeforehand();
    Run(L"/Uninstall");
    ASSERT_EQ(sizeof(UninstallFaults) / sizeof(UninstallFaults[0]) + 1, Calls().size());

    size_t at = 0;
    for (const FaultPoint& fault : UninstallFaults) {
        StartOver();
        InstallBeforehand();
        InjectAt(++at, fault, L"/Uninstall", UninstallProgress());
    }
    std::printf("uninstall: %u fault points covered\n", static_cast<unsigned>(at));
}

} // namespace
