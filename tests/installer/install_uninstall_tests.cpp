// The installer's two commands, run as a child process against the simulated service: whole
// console output, exit status and the exact calls it made.
#include "installer_run.h"

namespace {

using CallList = std::vector<std::string>;

const char CreateObject[] = "CreateInstance(IID_INetCfg) = 0x00000000";
const char QueryLock[] = "INetCfg::QueryInterface(IID_INetCfgLock) = 0x00000000";
const char AcquireLock[] = "INetCfgLock::AcquireWriteLock(5000, \"Quelmor\") = 0x00000000";
const char AcquireLockRefused[] = "INetCfgLock::AcquireWriteLock(5000, \"Quelmor\") = 0x00000001";
const char Initialize[] = "INetCfg::Initialize(NULL) = 0x00000000";
const char QueryClassSetup[] =
    "INetCfg::QueryNetCfgClass({4D36E975-E325-11CE-BFC1-08002BE10318}, IID_INetCfgClassSetup) = 0x00000000";
const char InstallComponent[] =
    "INetCfgClassSetup::Install(\"MS_NDISPROT\", OBO_USER, 0, 0, NULL, NULL) = 0x00000000";
const char Apply[] = "INetCfg::Apply() = 0x00000000";
const char Uninitialize[] = "INetCfg::Uninitialize() = 0x00000000";
const char ReleaseLock[] = "INetCfgLock::ReleaseWriteLock() = 0x00000000";
const char FindComponent[] = "INetCfg::FindComponent(\"MS_NDISPROT\") = 0x00000000";
const char FindComponentAbsent[] = "INetCfg::FindComponent(\"MS_NDISPROT\") = 0x00000001";
const char GetClassGuid[] = "INetCfgComponent::GetClassGuid() = 0x00000000";
const char QueryClass[] =
    "INetCfg::QueryNetCfgClass({4D36E975-E325-11CE-BFC1-08002BE10318}, IID_INetCfgClass) = 0x00000000";
const char QueryClassSetupOfClass[] = "INetCfgClass::QueryInterface(IID_INetCfgClassSetup) = 0x00000000";
const char DeInstall[] = "INetCfgClassSetup::DeInstall(\"MS_NDISPROT\", OBO_USER, NULL) = 0x00000000";

const CallList Open = {CreateObject, QueryLock, AcquireLock, Initialize};
const CallList Close = {Uninitialize, QueryLock, ReleaseLock};

CallList Join(std::initializer_list<CallList> parts)
{
    CallList all;
    for (const CallList& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST_F(InstallerRun, InstallPrintsOnlyItsThreeProgressLinesAndAppliesTwice)
{
    ProgramRun run = Run(L"/Install");

    EXPECT_EQ(InstallProgress(), run.output);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(Join({Open, {QueryClassSetup, InstallComponent, Apply, Apply}, Close, {CleanEnd}}), Calls());
    EXPECT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, UninstallAfterInstallPrintsOnlyItsProgressLine)
{
    InstallBeforehand();

    ProgramRun run = Run(L"/Uninstall");

    EXPECT_EQ(UninstallProgress(), run.output);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(Join({Open,
                    {FindComponent, GetClassGuid, QueryClass, QueryClassSetupOfClass, DeInstall, Apply},
                    Close,
                    {CleanEnd}}),
              Calls());
    EXPECT_FALSE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, UninstallWhenNotInstalledReportsCodeOne)
{
    ProgramRun run = Run(L"/Uninstall");

    EXPECT_EQ(UninstallProgress() + "Error 0x1: Couldn't get an interface pointer to MS_NDISPROT." + Cause(1),
              run.output);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(Join({Open, {FindComponentAbsent}, Close, {CleanEnd}}), Calls());
}

TEST_F(InstallerRun, InstallAskingForRestartIsAppliedOnceByTheCommandAndSucceeds)
{
    ProgramRun run = Run(L"/Install", L"INetCfgClassSetup::Install=0x0004A020");

    EXPECT_EQ(InstallProgress(), run.output);
    EXPECT_EQ(Join({Open,
                    {QueryClassSetup,
                     "INetCfgClassSetup::Install(\"MS_NDISPROT\", OBO_USER, 0, 0, NULL, NULL) = 0x0004a020",
                     Apply},
                    Close,
                    {CleanEnd}}),
              Calls());
    EXPECT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, FinalApplyAskingForRestartEndsWithTheCommandsError)
{
    ProgramRun run = Run(L"/Install", L"INetCfg::Apply#2=0x0004A020");

    EXPECT_EQ(InstallProgress() + "Error 0x4a020: InstallSpecifiedComponent\n" + Cause(RebootNeeded), run.output);
    EXPECT_EQ(Join({Open, {QueryClassSetup, InstallComponent, Apply, "INetCfg::Apply() = 0x0004a020"}, Close,
                    {CleanEnd}}),
              Calls());
}

TEST_F(InstallerRun, CancelledInstallPrintsOnlyTheFinalError)
{
    ProgramRun run = Run(L"/Install", L"INetCfgClassSetup::Install=0x800704C7");

    EXPECT_EQ(InstallProgress() + "Error 0x800704c7: InstallSpecifiedComponent\n" + Cause(Cancelled), run.output);
    EXPECT_EQ(Join({Open,
                    {QueryClassSetup,
                     "INetCfgClassSetup::Install(\"MS_NDISPROT\", OBO_USER, 0, 0, NULL, NULL) = 0x800704c7"},
                    Close,
                    {CleanEnd}}),
              Calls());
    EXPECT_FALSE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, FailedInstallIsReportedTwice)
{
    ProgramRun run = Run(L"/Install", L"INetCfgClassSetup::Install=0x80070005");

    EXPECT_EQ(InstallFailedAt(E_Denied, ComponentNotInstalled),
              run.output);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_FALSE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, FailedFinalApplyIsReportedByTheFinalErrorAlone)
{
    ProgramRun run = Run(L"/Install", L"INetCfg::Apply#2=0x80004005");

    EXPECT_EQ(InstallProgress() + "Error 0x80004005: InstallSpecifiedComponent\n" + Cause(E_Unspecified),
              run.output);
    EXPECT_EQ(Join({Open, {QueryClassSetup, InstallComponent, Apply, "INetCfg::Apply() = 0x80004005"}, Close,
                    {CleanEnd}}),
              Calls());
}

TEST_F(InstallerRun, InstallWhileAnotherProgramHoldsTheLockNamesTheHolder)
{
    LockHolderProcess holder(OtherLockHolderName, OtherLockHolderMs);
    ASSERT_TRUE(holder.WaitUntilHolding(INFINITE));

    ProgramRun run = Run(L"/Install");
    holder.Finish();

    EXPECT_EQ(InstallFailedAt(NoWriteLock, "Lock Holder Tool currently holds the lock, try later."), run.output);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(CallList({CreateObject, QueryLock, AcquireLockRefused, CleanEnd}), Calls());
}

TEST_F(InstallerRun, UninstallWhileAnotherProgramHoldsTheLockNamesTheHolder)
{
    InstallBeforehand();
    LockHolderProcess holder(OtherLockHolderName, OtherLockHolderMs);
    ASSERT_TRUE(holder.WaitUntilHolding(INFINITE));

    ProgramRun run = Run(L"/Uninstall");
    holder.Finish();

    EXPECT_EQ(UninstallProgress() + "Error 0x8004a024: Lock Holder Tool currently holds the lock, try later." +
                  Cause(NoWriteLock),
              run.output);
    EXPECT_EQ(CallList({CreateObject, QueryLock, AcquireLockRefused, CleanEnd}), Calls());
    EXPECT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, LockRefusedWithoutAHoldersNameIsAFailedOpen)
{
    // A service that refuses the lock but names nobody: the plain failed-open text, then the final line.
    ProgramRun run = Run(L"/Install", L"INetCfgLock::AcquireWriteLock=0x8004A024");

    EXPECT_EQ(InstallFailedAt(NoWriteLock, NoNotifyObjectOnInstall),
              run.output);
}

} // namespace
