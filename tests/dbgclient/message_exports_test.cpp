// The six sending exports against a recording terminal on a thread of the test, and with none.
#include <string>
#include <thread>

#include "dbgclient_fixture.h"
#include "import_patch.h"

namespace {

using MessageExports = DbgClientTest;

std::string Repeat(const std::string& piece, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

TEST_P(MessageExports, WithoutTerminalEveryCallReturns2ButAMissingFormatReturns1)
{
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->debugMessage("d"));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->logMessage("l"));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->statisticMessage("s"));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->errorMessage("e"));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->separator('='));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->clearTerminal());
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->debugMessage(nullptr));
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->logMessage(nullptr));
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->statisticMessage(nullptr));
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->errorMessage(nullptr));
}

TEST_P(MessageExports, EachCallSendsItsMessageAndLetter)
{
    StartTerminal();
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("debug %d", 1));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->logMessage("log %s", "two"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->statisticMessage("statistic %c", '3'));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->errorMessage("error %u", 4u));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->separator(0));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->separator('='));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->clearTerminal());
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage(EmptyFormat.c_str()));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, "debug 1\n", Debug),
        LineRecord(number.log, "log two\n", Log),
        LineRecord(number.statistic, "statistic 3\n", Statistic),
        LineRecord(number.error, "error 4\n", Error),
        LineRecord(number.debug, std::string(70, '-') + "\n", Separator),
        LineRecord(number.debug, std::string(70, '=') + "\n", Separator),
        ClearRecord(number.clear),
        LineRecord(number.debug, "\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(MessageExports, MissingFormatReturns1AndSendsNothing)
{
    StartTerminal();
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->debugMessage(nullptr));
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->logMessage(nullptr));
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->statisticMessage(nullptr));
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->errorMessage(nullptr));
    EXPECT_EQ(std::vector<TerminalRecord>(), TerminalSaw());
}

TEST_P(MessageExports, RegisteredTaskNameStartsTheLine)
{
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("Scanner"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("count=%d", 5));
    EXPECT_EQ(std::vector<TerminalRecord>{LineRecord(number.debug, "Scanner : count=5\n", Debug)}, TerminalSaw());
}

TEST_P(MessageExports, FormatWithoutTaskIsCutAfter256Bytes)
{
    // "%%" expands to one character, so a 256-byte format makes a line short enough to travel.
    StartTerminal();
    std::string percents = Repeat("%%", 127);
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage((percents + "ab").c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage((percents + "abc").c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage((Repeat("%%", 200)).c_str()));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, std::string(127, '%') + "ab\n", Debug),
        LineRecord(number.debug, std::string(127, '%') + "ab\n", Debug),
        LineRecord(number.debug, std::string(128, '%') + "\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(MessageExports, CutFormatNeverEndsInsideAConversion)
{
    StartTerminal();
    std::string percents = Repeat("%%", 127);
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage((percents + "a%d").c_str(), 7));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage((percents + "%5d").c_str(), 7));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage((percents + "%d").c_str(), 7));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, std::string(127, '%') + "a\n", Debug),
        LineRecord(number.debug, std::string(127, '%') + "\n", Debug),
        LineRecord(number.debug, std::string(127, '%') + "7\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(MessageExports, TaskNameAndFormatAreCutTo276Bytes)
{
    // 200 + " : " leaves 73 bytes of the 277-byte buffer (terminator included) for the format.
    StartTerminal();
    std::string name(200, 'N');
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(name.c_str()));
    std::string percents = Repeat("%%", 36);
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage((percents + "x").c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage((percents + "xy").c_str()));

    std::string line = name + " : " + std::string(36, '%') + "x\n";
    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, line, Debug),
        LineRecord(number.debug, line, Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(MessageExports, LineOver255CharactersArrivesAsIts251FirstAndAnEllipsis)
{
    // 255 characters with the line feed fit an atom; one more and the line is cut to 255.
    StartTerminal();
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("%s", std::string(254, 'a').c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->errorMessage("%s", std::string(255, 'b').c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->logMessage("%s", std::string(299, 'c').c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->statisticMessage("%300d", 1));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("%s%s", std::string(251, 'd').c_str(), "tail"));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, std::string(254, 'a') + "\n", Debug),
        LineRecord(number.error, std::string(251, 'b') + "...\n", Error),
        LineRecord(number.log, std::string(251, 'c') + "...\n", Log),
        LineRecord(number.statistic, std::string(251, ' ') + "...\n", Statistic),
        LineRecord(number.debug, std::string(251, 'd') + "...\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(MessageExports, LineOf300CharactersAfterATaskNameIsCutTo255)
{
    // Name, separator and text: 5 + 3 + 300 characters, then the line feed.
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("Agent"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->logMessage("%s", std::string(300, 'x').c_str()));
    std::string line = "Agent : " + std::string(243, 'x') + "...\n";
    ASSERT_EQ(255u, line.size());
    EXPECT_EQ(std::vector<TerminalRecord>{LineRecord(number.log, line, Log)}, TerminalSaw());
}

TEST_P(MessageExports, FormatTheRunTimeRefusesArrivesAsWrittenAndTheHostLivesOn)
{
    // The run-time disables "%n"; its default answer to a refused format would end this process.
    StartTerminal();
    int count = 12345;
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("counted %d%n characters", 7, &count));
    EXPECT_EQ(12345, count);
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("Refused"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->errorMessage("100%% of %s%n", "x", &count));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->logMessage("after %s", "both"));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, "counted %d%n characters\n", Debug),
        LineRecord(number.error, "Refused : 100%% of %s%n\n", Error),
        LineRecord(number.log, "Refused : after both\n", Log),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(MessageExports, LineToAWindowThatGoesAwayDuringTheSendReturns2)
{
    StartTerminal();
    ASSERT_TRUE(terminal.VanishOnNextSend());
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->debugMessage("lost %d", 1));
    EXPECT_FALSE(AtomTableHolds("lost 1\n"));
    EXPECT_FALSE(IsWindow(terminal.Window()));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->debugMessage("after %d", 2));
    EXPECT_EQ(std::vector<TerminalRecord>(), TerminalSaw());
}

TEST_P(MessageExports, SeparatorAndClearToAWindowThatGoesAwayReturn2)
{
    {
        StartTerminal();
        ASSERT_TRUE(terminal.VanishOnNextSend());
        EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->separator('='));
        EXPECT_EQ(std::vector<TerminalRecord>(), TerminalSaw());
    }
    RecordingTerminal second;
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.VanishOnNextSend());
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->clearTerminal());
    second.Stop();
    EXPECT_EQ(std::vector<TerminalRecord>(), second.Records());
}

TEST_P(MessageExports, WindowClosedWhileHandlingTheLineStillCountsAsSent)
{
    // The terminal took the line and only then went: the line was delivered.
    StartTerminal();
    terminal.DestroyWhileHandlingNextMessage();
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->logMessage("last %s", "one"));
    EXPECT_FALSE(IsWindow(terminal.Window()));
    EXPECT_EQ(std::vector<TerminalRecord>{LineRecord(number.log, "last one\n", Log)}, TerminalSaw());

    RecordingTerminal second;
    ASSERT_TRUE(second.Start());
    second.DestroyWhileHandlingNextMessage();
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->clearTerminal());
    second.Stop();
    EXPECT_EQ(std::vector<TerminalRecord>{ClearRecord(number.clear)}, second.Records());
}

// What SendMessageA does when User Interface Privilege Isolation keeps a message from a window of
// a higher integrity level: nothing, and access denied. Wine has no such levels.
LRESULT WINAPI SendBlockedByPrivilegeIsolation(HWND, UINT, WPARAM, LPARAM)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

TEST_P(MessageExports, LineThatPrivilegeIsolationBlocksReturns2)
{
    StartTerminal();
    void* send = PatchModuleImport(dbg.Module(), "SendMessageA", reinterpret_cast<void*>(SendBlockedByPrivilegeIsolation));
    ASSERT_NE(nullptr, send);
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->errorMessage("blocked %d", 1));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->separator('='));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->clearTerminal());
    EXPECT_FALSE(AtomTableHolds("blocked 1\n"));
    PatchModuleImport(dbg.Module(), "SendMessageA", send);

    // The window was there all along, and takes the next line.
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->errorMessage("through %d", 2));
    EXPECT_EQ(std::vector<TerminalRecord>{LineRecord(number.error, "through 2\n", Error)}, TerminalSaw());
}

TEST_P(MessageExports, LineAtomIsGoneAfterEachCall)
{
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("gone d"));
    EXPECT_FALSE(AtomTableHolds("gone d\n"));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->logMessage("gone l"));
    EXPECT_FALSE(AtomTableHolds("gone l\n"));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->statisticMessage("gone s"));
    EXPECT_FALSE(AtomTableHolds("gone s\n"));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->errorMessage("gone e"));
    EXPECT_FALSE(AtomTableHolds("gone e\n"));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->separator('#'));
    EXPECT_FALSE(AtomTableHolds(std::string(70, '#') + "\n"));
    // The terminal did read every one of them.
    EXPECT_EQ(5u, TerminalSaw().size());
}

TEST_P(MessageExports, SendBlocksUntilTheTerminalHasHandledTheLine)
{
    StartTerminal();
    terminal.HoldNextMessage();
    HANDLE returned = CreateEventA(NULL, TRUE, FALSE, NULL);
    unsigned short status = 99;
    std::thread sender([&] {
        status = dbg->debugMessage("held");
        SetEvent(returned);
    });

    ASSERT_TRUE(terminal.WaitUntilHolding(10000));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(returned, 200));
    EXPECT_TRUE(AtomTableHolds("held\n"));
    terminal.ReleaseHeldMessage();
    sender.join();
    CloseHandle(returned);
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, status);
    EXPECT_FALSE(AtomTableHolds("held\n"));
}

}  // namespace

INSTANTIATE_BY_NAME_AND_ORDINAL(MessageExports);
