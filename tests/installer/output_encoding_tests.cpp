// Every character of every line reaches the reader: on a console as the console's own characters,
// redirected as UTF-8 with the run-time's "\r\n" line ends; plain ASCII exactly as it always was.
#include "installer_run.h"

namespace {

// The folder name of a user who unpacked the installer under a name outside Latin-1, as the
// installer gets it (UTF-16) and as the tests expect to read it back (UTF-8).
const wchar_t NonLatinFolderName[] = L"inst-Łódź-日本";
const char NonLatinFolderNameUtf8[] = u8"inst-Łódź-日本";

// What FormatMessageW=localised makes installer-with-faults hand out as the system's text.
const char LocalisedSystemTextUtf8[] = u8"Zugriff verweigert — Доступ запрещён — アクセスが拒否されました 🔒\r\n";
const char LocalisedSystemTextOnScreen[] = u8"Zugriff verweigert — Доступ запрещён — アクセスが拒否されました 🔒\n";

// What FormatMessageW=astride makes installer-with-faults hand out, less its "\r\n": each lock,
// a character outside the Basic Multilingual Plane, lies across the boundary of two pieces of
// the installer's output, once redirected and once on a console.
std::string AstrideSystemTextUtf8()
{
    return std::string(179, 'x') + u8"🔒" + std::string(74, 'y') + u8"🔒";
}

// text as the run-time's text mode writes it to a file or a pipe: each "\n" as "\r\n". A "\r\n"
// of the system's own text thus comes out as "\r\r\n", as it always has.
std::string TextMode(const std::string& text)
{
    std::string bytes;
    for (char c : text) {
        if (c == '\n') {
            bytes += '\r';
        }
        bytes += c;
    }
    return bytes;
}

// The installer and its INF copied into a folder named outside Latin-1 under the temporary
// folder, whose own path is plain ASCII in the test prefix.
class InstallerInNonLatinFolder : public InstallerRun {
protected:
    void SetUp() override
    {
        InstallerRun::SetUp();
        for (wchar_t c : TemporaryFolder()) {
            ASSERT_LT(c, 0x80) << "the temporary folder's own path is expected to be plain ASCII";
        }
        folder_ = TemporaryFolder() + NonLatinFolderName + L"\\";
        CreateDirectoryW(folder_.c_str(), NULL);
        ASSERT_TRUE(CopyFileW((ProgramFolder() + L"VrkQuelmor.exe").c_str(), Installer().c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((ProgramFolder() + L"vrkprot6.inf").c_str(), (folder_ + L"vrkprot6.inf").c_str(), FALSE));
    }

    void TearDown() override
    {
        DeleteFileW(Installer().c_str());
        DeleteFileW((folder_ + L"vrkprot6.inf").c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    std::wstring Installer() const { return folder_ + L"VrkQuelmor.exe"; }

    // The three progress lines of an install from the copy, in UTF-8 with "\n" line ends.
    std::string ProgressOfCopy() const
    {
        return "Installing Vornak User Protocol Driver for NDIS 6...\n"
               "INF Path: " + Narrow(TemporaryFolder()) + NonLatinFolderNameUtf8 + "\\vrkprot6.inf\n"
               "PnpID: MS_NDISPROT\n";
    }

    std::wstring folder_;
};

TEST_F(InstallerRun, PlainAsciiProgressKeepsItsBytesAndLineEndsInAPipe)
{
    ProgramRun run = Run(L"/Install");

    EXPECT_EQ(TextMode(InstallProgress()), run.bytes);
    EXPECT_EQ(0, run.exitCode);
}

TEST_F(InstallerRun, PlainAsciiErrorTextKeepsItsBytesInAPipe)
{
    ProgramRun run = Run(L"/Uninstall");

    EXPECT_EQ(TextMode(UninstallProgress() + "Error 0x1: Couldn't get an interface pointer to MS_NDISPROT." +
                       "\n\nPossible cause:\n\n" + SystemText(1)),
              run.bytes);
    EXPECT_NE("", SystemText(1)) << "the system's text for 1 is expected to be there";
}

TEST_F(InstallerInNonLatinFolder, ProgressLinesComeWholeAsUtf8InAPipe)
{
    ProgramRun run = RunProgram(L"\"" + Installer() + L"\" /Install");

    EXPECT_EQ(TextMode(ProgressOfCopy()), run.bytes);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_TRUE(Simulator().IsInstalled(L"MS_NDISPROT"));
}

TEST_F(InstallerInNonLatinFolder, ProgressLinesComeWholeOnAConsole)
{
    ProgramRun run = RunNamed(L"console-screen.exe", L"\"" + Installer() + L"\" /Install", L"");

    EXPECT_EQ(ProgressOfCopy(), run.bytes);
    EXPECT_EQ(0, run.exitCode);
}

TEST_F(InstallerRun, LocalisedSystemTextComesWholeInAPipe)
{
    ProgramRun run = RunNamed(L"installer-with-faults.exe", L"/Install FormatMessageW=localised",
                              L"INetCfgClassSetup::Install=0x80070005");

    EXPECT_EQ(TextMode(InstallProgress() + "Error 0x80070005: Couldn't install the network component." +
                       "\n\nPossible cause:\n\n" + LocalisedSystemTextUtf8 +
                       "Error 0x80070005: InstallSpecifiedComponent\n" + "\n\nPossible cause:\n\n" +
                       LocalisedSystemTextUtf8),
              run.bytes);
    EXPECT_EQ(CleanEnd, Calls().back());
}

TEST_F(InstallerRun, LocalisedSystemTextComesWholeOnAConsole)
{
    ProgramRun run = RunNamed(L"console-screen.exe",
                              L"\"" + ProgramFolder() + L"installer-with-faults.exe\" /Install FormatMessageW=localised",
                              L"INetCfgClassSetup::Install=0x80070005");

    EXPECT_EQ(InstallProgress() + "Error 0x80070005: Couldn't install the network component.\n"
                                  "\n"
                                  "Possible cause:\n"
                                  "\n" +
                  LocalisedSystemTextOnScreen +
                  "Error 0x80070005: InstallSpecifiedComponent\n"
                  "\n"
                  "\n"
                  "Possible cause:\n"
                  "\n" +
                  LocalisedSystemTextOnScreen,
              run.bytes);
}

TEST_F(InstallerRun, CharactersBeyondTheBasicPlaneAcrossPieceBoundariesComeWholeInAPipe)
{
    ProgramRun run = RunNamed(L"installer-with-faults.exe", L"/Install FormatMessageW=astride",
                              L"INetCfgClassSetup::Install=0x80070005");

    std::string cause = "\n\nPossible cause:\n\n" + AstrideSystemTextUtf8() + "\r\n";
    EXPECT_EQ(TextMode(InstallProgress() + "Error 0x80070005: Couldn't install the network component." + cause +
                       "Error 0x80070005: InstallSpecifiedComponent\n" + cause),
              run.bytes);
}

// Wine's console keeps the two halves of a pair together even when they are written apart, so
// here it is the line longer than one piece of console output that must come whole.
TEST_F(InstallerRun, LineLongerThanOnePieceComesWholeOnAConsole)
{
    ProgramRun run = RunNamed(L"console-screen.exe",
                              L"\"" + ProgramFolder() + L"installer-with-faults.exe\" /Install FormatMessageW=astride",
                              L"INetCfgClassSetup::Install=0x80070005");

    std::string cause = "\n\nPossible cause:\n\n" + AstrideSystemTextUtf8() + "\n";
    EXPECT_EQ(InstallProgress() + "Error 0x80070005: Couldn't install the network component." + cause +
                  "Error 0x80070005: InstallSpecifiedComponent\n" + cause,
              run.bytes);
}

} // namespace
