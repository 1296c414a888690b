// The command and option words: which command runs, and that nothing else does.
#include "installer_run.h"

namespace {

TEST_F(InstallerRun, CommandWordsMatchInAnyLetterCase)
{
    EXPECT_EQ(InstallProgress(), Run(L"/iNSTALL").output);
    EXPECT_EQ(UninstallProgress(), Run(L"/UNINSTALL").output);
    EXPECT_FALSE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, HideOptionInCapitalsStillRunsTheCommand)
{
    // Without a console window there is nothing to hide; the command runs as usual.
    ProgramRun run = Run(L"/INSTALL /HIDE");

    EXPECT_EQ(InstallProgress(), run.output);
    EXPECT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, VisibleOptionBehavesLikeNoOption)
{
    ProgramRun run = Run(L"/Install /v");

    EXPECT_EQ(InstallProgress(), run.output);
    EXPECT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, ArgumentsPastTheOptionAreIgnored)
{
    EXPECT_EQ(InstallProgress(), Run(L"/Install /v /Uninstall extra").output);
    EXPECT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerRun, RunsWithoutACommandDoNothingAndExitWithZero)
{
    const wchar_t* idle[] = {L"", L"/hide /Install", L"/Repair", L"Install", L"/Installer", L"/hide"};
    for (const wchar_t* arguments : idle) {
        ProgramRun run = Run(arguments);
        EXPECT_EQ("", run.output) << "arguments: " << std::string(arguments, arguments + wcslen(arguments));
        EXPECT_EQ(0, run.exitCode);
    }
    EXPECT_EQ(std::vector<std::string>(), Calls());
}

} // namespace
