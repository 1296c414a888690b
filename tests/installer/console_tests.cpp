// The installer's console: its title on every run, and its window hidden only by "/hide" as the
// option after the command.
#include "installer_run.h"

namespace {

class ConsoleObserved : public InstallerRun {
protected:
    std::string Observe(const std::wstring& arguments)
    {
        std::wstring installer = L"\"" + ProgramFolder() + L"VrkQuelmor.exe\"";
        return RunProgram(L"\"" + ProgramFolder() + L"console-observer.exe\" " + installer + L" " + arguments)
            .output;
    }
};

const char ShownWithTitle[] = "title: Installing NDIS Intermediate Filter Driver\nvisible: yes\n";
const char HiddenWithTitle[] = "title: Installing NDIS Intermediate Filter Driver\nvisible: no\n";

TEST_F(ConsoleObserved, TitleIsSetOnEveryRunAndOnlyHideAfterTheCommandHidesTheConsole)
{
    struct Case {
        const wchar_t* arguments;
        const char* console;
    };
    const Case cases[] = {
        {L"", ShownWithTitle},
        {L"/Uninstall", ShownWithTitle},
        {L"/INSTALL /HIDE", HiddenWithTitle},
        {L"/Repair /hide", HiddenWithTitle},  // after an unknown command too
        {L"/Install /v", ShownWithTitle},
        {L"/hide /Install", ShownWithTitle},  // before the command it is not an option
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.console, Observe(c.arguments)) << Narrow(c.arguments);
    }
}

} // namespace
