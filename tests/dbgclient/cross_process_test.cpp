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

// Runs a program beside this one to its end; returns its exit code, or -1 if it could not start.
long RunProgram(const wchar_t* fileName)
{
    std::wstring program = PathBesideProgram(fileName);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(exitCode);
}

TEST(CrossProcess, HostProgramLinesReachATerminalProcess)
{
    TerminalTestLock lock;
    ASSERT_FALSE(AtomTableHolds("Scanner")) << "a leftover reference from an earlier run";
    TerminalProcess terminal;
    ASSERT_TRUE(terminal.Start(PathBesideProgram(L"recording-terminal.exe")));

    EXPECT_EQ(0, RunProgram(L"dbgclient-host-example.exe"));
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
    EXPECT_EQ(1, RunProgram(L"dbgclient-host-example.exe"));
    EXPECT_FALSE(AtomTableHolds("Scanner"));
}

}  // namespace
