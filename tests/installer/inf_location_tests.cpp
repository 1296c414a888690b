// Where the installer looks for its INF: always beside itself, within MAX_PATH.
#include "installer_run.h"

namespace {

// A new folder "X:\...\" whose part after the drive is exactly directoryLength characters long.
std::wstring FolderWithDirectoryLength(size_t directoryLength)
{
    std::wstring folder = TemporaryFolder() + L"vrk-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), NULL);
    size_t needed = directoryLength - (folder.size() - 2);
    wchar_t name = L'a';
    while (needed > 0) {
        // Each level adds its name and a backslash; never leave a single character to fill.
        size_t nameLength = needed - 1 <= 100 ? needed - 1 : (needed - 1 - 100 >= 2 ? 100 : 98);
        folder += std::wstring(nameLength, name++) + L"\\";
        needed -= nameLength + 1;
        CreateDirectoryW((L"\\\\?\\" + folder).c_str(), NULL);
    }
    return folder;
}

class CopiedInstaller : public InstallerRun {
protected:
    // Runs a copy of the installer, called Q.exe, from folder.
    ProgramRun RunCopy(const std::wstring& folder, bool withInf)
    {
        std::wstring exe = folder + L"Q.exe";
        EXPECT_TRUE(CopyFileW((ProgramFolder() + L"VrkQuelmor.exe").c_str(), exe.c_str(), FALSE));
        if (withInf) {
            EXPECT_TRUE(CopyFileW((ProgramFolder() + L"vrkprot6.inf").c_str(), (folder + L"vrkprot6.inf").c_str(),
                                  FALSE));
        }
        return RunProgram(L"\"" + exe + L"\" /Install", journal_.For(L""));
    }

    JournalFile journal_;
};

TEST_F(CopiedInstaller, MissingInfFailsWithTheSetupCodeAndInstallsNothing)
{
    std::wstring folder = FolderWithDirectoryLength(120);

    ProgramRun run = RunCopy(folder, false);

    EXPECT_EQ("Installing Vornak User Protocol Driver for NDIS 6...\n"
              "INF Path: " + Narrow(folder) + "vrkprot6.inf\n"
              "PnpID: MS_NDISPROT\n"
              "Error 0x80070002: Couldn't install the network component." + Cause(0x80070002) +
                  "Error 0x80070002: InstallSpecifiedComponent\n" + Cause(0x80070002),
              run.output);
    EXPECT_EQ(CleanEnd, journal_.Lines().back());
    EXPECT_FALSE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(CopiedInstaller, InfPathOfTwoHundredFiftyNineCharactersIsUsed)
{
    std::wstring folder = FolderWithDirectoryLength(245);
    std::wstring infPath = folder + L"vrkprot6.inf";
    ASSERT_EQ(259u, infPath.size());

    ProgramRun run = RunCopy(folder, true);

    EXPECT_EQ("Installing Vornak User Protocol Driver for NDIS 6...\n"
              "INF Path: " + Narrow(infPath) + "\n"
              "PnpID: MS_NDISPROT\n",
              run.output);
    EXPECT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(CopiedInstaller, InfPathOfTwoHundredSixtyCharactersIsRefusedBeforeAnyChange)
{
    std::wstring folder = FolderWithDirectoryLength(246);
    ASSERT_EQ(260u, (folder + L"vrkprot6.inf").size());

    ProgramRun run = RunCopy(folder, true);

    EXPECT_EQ("Installing Vornak User Protocol Driver for NDIS 6...\n"
              "Unable to get INF file path.\n",
              run.output);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(std::vector<std::string>(), journal_.Lines());
}

} // namespace
