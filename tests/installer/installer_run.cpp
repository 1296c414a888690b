#include "installer_run.h"

#include <cstdio>

void InstallerRun::StartOver()
{
    Simulator().ResetState();
    journal_.reset(new JournalFile());
}

ProgramRun InstallerRun::Run(const std::wstring& arguments, const std::wstring& script)
{
    return RunNamed(L"VrkQuelmor.exe", arguments, script);
}

ProgramRun InstallerRun::RunNamed(const std::wstring& program, const std::wstring& arguments,
                                  const std::wstring& script)
{
    std::wstring commandLine = L"\"" + ProgramFolder() + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    return RunProgram(commandLine, journal_->For(script));
}

void InstallerRun::InstallBeforehand()
{
    ASSERT_EQ(InstallProgress(), Run(L"/Install").output);
    ASSERT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
    journal_.reset(new JournalFile());
}

std::string InstallProgress()
{
    return "Installing Vornak User Protocol Driver for NDIS 6...\n"
           "INF Path: " + Narrow(ProgramFolder()) + "vrkprot6.inf\n"
           "PnpID: MS_NDISPROT\n";
}

std::string UninstallProgress()
{
    return "Uninstalling Vornak User Protocol Driver for NDIS 6...\n";
}

std::string ErrorCode(unsigned long code)
{
    char text[32];
    std::snprintf(text, sizeof(text), "Error 0x%lx: ", code);
    return text;
}

std::string InstallFailedAt(unsigned long code, const std::string& step)
{
    return InstallProgress() + ErrorCode(code) + step + Cause(code) + ErrorCode(code) + "InstallSpecifiedComponent\n" +
           Cause(code);
}
