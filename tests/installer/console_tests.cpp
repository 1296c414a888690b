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

TEST_F(ConsoleObserved, TitleIsSetEvenWithoutArguments)
{
    EXPECT_EQ(ShownWithTitle, Observe(L""));
}

TEST_F(ConsoleObserved, UninstallSetsTheTitleAndKeepsTheConsoleShown)
{
    EXPECT_EQ(ShownWithTitle, Observe(L"/Uninstall"));
}

TEST_F(ConsoleObserved, HideAfterTheCommandHidesTheConsole)
{
    EXPECT_EQ(HiddenWithTitle, Observe(L"/INSTALL /HIDE"));
}

TEST_F(ConsoleObserved, HideAfterAnUnknownCommandStillHidesTheConsole)
{
    EXPECT_EQ(HiddenWithTitle, Observe(L"/Repair /hide"));
}

TEST_F(ConsoleObserved, VisibleOptionKeepsTheConsoleShown)
{
    EXPECT_EQ(ShownWithTitle, Observe(L"/Install /v"));
}

TEST_F(ConsoleObserved, HideBeforeTheCommandIsNotAnOption)
{
    EXPECT_EQ(ShownWithTitle, Observe(L"/hide /Install"));
}

} // namespace
