// Many host threads registering and sending at once: every line arrives once, whole, in its
// thread's order and under its thread's newest name. Prints how long the run took.
#include <gtest/gtest.h>

#include <stdio.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "atom_table.h"
#include "loaded_dbgclient.h"
#include "recording_terminal.h"
#include "threads_together.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"

namespace {

const int ThreadCount = 8;
const int LinesPerThread = 2000;
const std::string NameSeparator = " : ";

// Each thread sends half its lines under a first name, then registers a second one; the names are
// new to the atom table (which outlives processes) in every run.
std::string WorkerName(int thread, int half)
{
    return "Worker " + std::to_string(thread) + (half == 0 ? " first" : " second") + " of " +
           std::to_string(GetCurrentProcessId());
}

std::string LineText(int thread, int line)
{
    return "line " + std::to_string(line) + " of thread " + std::to_string(thread);
}

TEST(ConcurrentSenders, EveryLineArrivesOnceWholeInOrderUnderItsThreadsName)
{
    TerminalTestLock lock;
    LoadedDbgClient dbg(ExportLookup::ByName);
    ASSERT_TRUE(dbg.Loaded());
    RecordingTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    UINT debugNumber = RegisteredProtocolNumbers().debug;

    std::atomic<int> failedCalls{0};
    auto started = std::chrono::steady_clock::now();
    ThreadsTogether threads(ThreadCount, [&](int t) {
        for (int line = 0; line < LinesPerThread; ++line) {
            bool newHalf = line % (LinesPerThread / 2) == 0;
            if (newHalf && dbg->registerTask(WorkerName(t, line == 0 ? 0 : 1).c_str()) != VORNAKDBG_STATUS_DONE) {
                ++failedCalls;
            }
            if (dbg->debugMessage("line %d of thread %d", line, t) != VORNAKDBG_STATUS_DONE) {
                ++failedCalls;
            }
        }
    });
    threads.Join();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    terminal.Stop();
    printf("%d threads x %d lines: %.2f s, %.0f lines/s\n", ThreadCount, LinesPerThread, seconds,
           ThreadCount * LinesPerThread / seconds);
    EXPECT_EQ(0, failedCalls.load());

    std::map<std::string, std::vector<std::string>> expected;
    for (int t = 0; t < ThreadCount; ++t) {
        for (int line = 0; line < LinesPerThread; ++line) {
            expected[WorkerName(t, line < LinesPerThread / 2 ? 0 : 1)].push_back(LineText(t, line) + "\n");
        }
    }
    // Lines grouped by the name before the separator; anything else is kept under a name of its own.
    std::map<std::string, std::vector<std::string>> seen;
    for (const TerminalRecord& record : terminal.Records()) {
        size_t separator = record.text.find(NameSeparator);
        if (record.message != debugNumber || record.atom != AtomKind::String || record.letter != VORNAK_LETTER_DEBUG ||
            separator == std::string::npos) {
            seen["(not a labelled debug line)"].push_back(record.text);
            continue;
        }
        seen[record.text.substr(0, separator)].push_back(record.text.substr(separator + NameSeparator.size()));
    }
    EXPECT_EQ(expected, seen);

    dbg.Unload();
    int heldAtoms = 0;
    for (int t = 0; t < ThreadCount; ++t) {
        heldAtoms += AtomTableHolds(WorkerName(t, 0)) + AtomTableHolds(WorkerName(t, 1));
        for (int half = 0; half < 2; ++half) {
            for (int line = 0; line < LinesPerThread; ++line) {
                heldAtoms += AtomTableHolds(WorkerName(t, half) + NameSeparator + LineText(t, line) + "\n");
            }
        }
    }
    EXPECT_EQ(0, heldAtoms);
}

}  // namespace
