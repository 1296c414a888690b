// As hosts use it: a host process (the README's example program, linked with the import library)
// sends to a terminal running as a process of its own. The host ends without unloading the library,
// so its task name goes with the process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "atom_table.h"
#include "loaded_dbgclient.h"
#include "terminal_process.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"

namespace {

// The README's host program, run beside this test to its end.
ProgramRun RunHostExample()
{
    return RunProgram(QuotedCommandLine(PathBesideProgram(L"dbgclient-host-example.exe"), {}));
}

TEST(CrossProcess, HostProgramLinesReachATerminalProcess)
{
    TerminalTestLock lock;
    ASSERT_FALSE(AtomTableHolds("Scanner")) << "a leftover reference from an earlier run";
    TerminalProcess terminal;
    ASSERT_TRUE(terminal.Start(PathBesideProgram(L"recording-terminal.exe")));

    EXPECT_EQ(0, RunHostExample().exitCode);
    std::vector<TerminalRecord> records;
    ASSERT_TRUE(terminal.Stop(&records));

    ProtocolNumbers number = RegisteredProtocolNumbers();
    std::vector<TerminalRecord> expected = {
        ClearRecord(number.clear),
        LineRecord(number.debug, "Scanner : count=5\n", VORNAK_LETTER_DEBUG),
        LineRecord(number.log, "Scanner : scan of eth0 started\n", VORNAK_LETTER_LOG),
        LineRecord(number.statistic, "Scanner : 1200 packets, 3 dropped\n", VORNAK_LETTER_STATISTIC),
        LineRecord(number.error, "Scanner : open failed with error 2\n", VORNAK_LETTER_ERROR),
        LineRecord(number.debug, std::string(70, '=') + "\n", 0),
    };
    EXPECT_EQ(expected, records);
    EXPECT_FALSE(AtomTableHolds("Scanner"));
}

TEST(CrossProcess, HostProgramWithoutTerminalStopsAtRegistration)
{
    TerminalTestLock lock;
    ProgramRun run = RunHostExample();
    EXPECT_EQ(1, run.exitCode);
    EXPECT_EQ("no debug terminal running\n", run.errors);
    EXPECT_FALSE(AtomTableHolds("Scanner"));
}

}  // namespace
