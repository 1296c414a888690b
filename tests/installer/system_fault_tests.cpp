// The commands when a system function fails: COM start-up, object creation, the INF store, the
// program's own path and the system's message table. The installer's code runs in a program that
// can make each of them fail; the simulated service journals what reached it.
#include "installer_run.h"

#include <cstdio>

namespace {

const char InstallHeaderOnly[] = "Installing Vornak User Protocol Driver for NDIS 6...\n";

struct SystemFault {
    const wchar_t* command;
    const wchar_t* fault;
    const wchar_t* script;  // a simultaneous failure in the service, or ""
    std::string (*expected)();
    bool reachedService;    // the simulated object was created, so the journal has an end line
    bool installedAfter;
};

const SystemFault Faults[] = {
    {L"/Install", L"GetModuleFileNameW=0", L"",
     [] { return std::string(InstallHeaderOnly) + "Unable to get INF file path.\n"; }, false, false},
    {L"/Install", L"GetModuleFileNameW=full", L"",
     [] { return std::string(InstallHeaderOnly) + "Unable to get INF file path.\n"; }, false, false},
    {L"/Install", L"CoInitialize=0x8007000E", L"",
     [] { return InstallFailedAt(0x8007000E, NoNotifyObjectOnInstall); }, false, false},
    {L"/Install", L"CoInitialize=0x80010106", L"",
     [] { return InstallFailedAt(0x80010106, NoNotifyObjectOnInstall); }, false, false},
    {L"/Install", L"CoCreateInstance=0x80040154", L"",
     [] { return InstallFailedAt(0x80040154, NoNotifyObjectOnInstall); }, false, false},
    {L"/Install", L"SetupCopyOEMInfW=0xE0000100", L"",
     [] { return InstallFailedAt(0xE0000100, ComponentNotInstalled); }, true, false},
    {L"/Install", L"SetupCopyOEMInfW=5", L"",
     [] { return InstallFailedAt(E_Denied, ComponentNotInstalled); }, true, false},
    // A failure that sets no error number counts as a copy that worked.
    {L"/Install", L"SetupCopyOEMInfW=0", L"", [] { return InstallProgress(); }, true, true},
    // Without a system text the two error texts stand on one line.
    {L"/Install", L"FormatMessageW=0", L"INetCfgClassSetup::Install=0x80070005",
     [] {
         return InstallProgress() +
                "Error 0x80070005: Couldn't install the network component."
                "Error 0x80070005: InstallSpecifiedComponent\n";
     },
     true, false},
    {L"/Uninstall", L"CoInitialize=0x8007000E", L"",
     [] { return UninstallProgress() + ErrorCode(0x8007000E) + NoNotifyObjectOnUninstall + Cause(0x8007000E); },
     false, false},
    {L"/Uninstall", L"CoCreateInstance=0x80040154", L"",
     [] { return UninstallProgress() + ErrorCode(0x80040154) + NoNotifyObjectOnUninstall + Cause(0x80040154); },
     false, false},
    {L"/Uninstall", L"FormatMessageW=0", L"",
     [] { return UninstallProgress() + "Error 0x1: Couldn't get an interface pointer to MS_NDISPROT."; },
     true, false},
};

TEST_F(InstallerRun, EverySystemFunctionFailureIsReportedAndGivesEverythingBack)
{
    unsigned covered = 0;
    for (const SystemFault& fault : Faults) {
        SCOPED_TRACE(Narrow(fault.command) + " " + Narrow(fault.fault) + " " + Narrow(fault.script));
        StartOver();

        ProgramRun run = RunNamed(L"installer-with-faults.exe", std::wstring(fault.command) + L" " + fault.fault,
                                  fault.script);

        EXPECT_EQ(fault.expected(), run.output);
        EXPECT_EQ(0, run.exitCode) << "3: COM was left initialised";
        std::vector<std::string> calls = Calls();
        if (fault.reachedService) {
            ASSERT_FALSE(calls.empty());
            EXPECT_EQ(CleanEnd, calls.back());
        } else {
            EXPECT_EQ(std::vector<std::string>(), calls);
        }
        EXPECT_EQ(fault.installedAfter, Simulator().IsInstalled(L"MS_NDISPROT") != 0);
        ++covered;
    }
    std::printf("system function fault points covered: %u\n", covered);
}

} // namespace
