// As hosts use it: a host process (the README's example program, linked with the import library)
// sends to a terminal running as a process of its own. The host ends without unloading the library,
// so its task name goes with the process; and a host ends with the library loaded or unloads it.
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

// The script host registers a task name, watches the library's heap, and either unloads the
// library or ends with it loaded. Its output without its first line, the code page it ran in.
ProgramRun RunHostThatEnds(const std::wstring& howItEnds)
{
    ProgramRun run = RunProgram(QuotedCommandLine(PathBesideProgram(L"dbgclient-script-host.exe"),
                                                  {L"task=Leaving", L"watch-heap", howItEnds}));
    run.output.erase(0, run.output.find('\n') + 1);
    return run;
}

TEST(CrossProcess, HostThatEndsWithTheLibraryLoadedGivesBackTheAtomsButLeavesTheHeap)
{
    // Ending, the process has no other threads left (one may have died holding the heap's lock),
    // and its memory goes with it; global atoms do not.
    TerminalTestLock lock;
    ASSERT_FALSE(AtomTableHolds("Leaving")) << "a leftover reference from an earlier run";
    ProgramRun ended = RunHostThatEnds(L"exit");
    EXPECT_EQ(0, ended.exitCode) << ended.errors;
    EXPECT_EQ("", ended.output);
    EXPECT_FALSE(AtomTableHolds("Leaving"));

    // Unloaded while the process lives on, the library frees its entry.
    ProgramRun unloaded = RunHostThatEnds(L"format=last");
    EXPECT_EQ(0, unloaded.exitCode) << unloaded.errors;
    ProtocolNumbers number = RegisteredProtocolNumbers();
    std::string line = FormatRecord(LineRecord(number.debug, "Leaving : last\n", VORNAK_LETTER_DEBUG));
    EXPECT_EQ("HeapFree\n" + line + "\n", unloaded.output);
    EXPECT_FALSE(AtomTableHolds("Leaving"));
}

}  // namespace
