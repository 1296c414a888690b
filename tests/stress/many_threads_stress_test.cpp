// Eight host threads send 20,000 lines each, through the four line exports in turn, to a terminal
// running as a process of its own, each registering a new task name every 1,000 lines while the
// others send. Every line must arrive once, whole, in its thread's order and under its thread's
// newest name; a thread's older name must be gone from the global atom table as soon as it
// registers the next, so each living thread holds one; and once the threads have ended no line or
// name may be left there.
#include <gtest/gtest.h>

#include <stdio.h>

#include <atomic>
#include <chrono>
#include <unordered_map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "atom_table.h"
#include "loaded_dbgclient.h"
#include "threads_together.h"
#include "terminal_process.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"

namespace {

const int ThreadCount = 8;
const int LinesPerThread = 20000;
const int LinesPerName = 1000;
const int NamesPerThread = LinesPerThread / LinesPerName;
// Lines differ in length (a tail of 0 to 60 letters, a letter of its own per thread), so that
// lines run together or cut short do not pass for whole ones.
const int TailLengths = 61;
const char LineFormat[] = "line %d of thread %d %s";
const std::string Separator = " : ";
const char Letters[] = {VORNAK_LETTER_DEBUG, VORNAK_LETTER_LOG, VORNAK_LETTER_STATISTIC, VORNAK_LETTER_ERROR};

// New to the atom table, which outlives processes, in every run.
std::string TaskName(int thread, int name)
{
    return "Stress task " + std::to_string(thread) + "." + std::to_string(name) + " of " +
           std::to_string(GetCurrentProcessId());
}

std::string Tail(int thread, int line)
{
    return std::string(static_cast<size_t>(line * 7 % TailLengths), static_cast<char>('a' + thread));
}

std::string Body(int thread, int line)
{
    return "line " + std::to_string(line) + " of thread " + std::to_string(thread) + " " + Tail(thread, line);
}

std::string SentText(int thread, int line)
{
    return TaskName(thread, line / LinesPerName) + Separator + Body(thread, line) + "\n";
}

// What became of the sent lines, counted over everything the terminal received.
struct DeliverySummary {
    size_t received = 0;
    size_t lost = 0;
    size_t duplicated = 0;
    size_t garbled = 0;     // a text, message or letter that no sent line had
    size_t misnamed = 0;    // a sent line under a name other than its thread's newest
    size_t outOfOrder = 0;  // a line that arrived after a later line of its thread

    bool operator==(const DeliverySummary& other) const
    {
        return received == other.received && lost == other.lost && duplicated == other.duplicated &&
               garbled == other.garbled && misnamed == other.misnamed && outOfOrder == other.outOfOrder;
    }
};

std::ostream& operator<<(std::ostream& out, const DeliverySummary& summary)
{
    return out << "{received " << summary.received << ", lost " << summary.lost << ", duplicated "
               << summary.duplicated << ", garbled " << summary.garbled << ", misnamed " << summary.misnamed
               << ", out of order " << summary.outOfOrder << "}";
}

DeliverySummary Summarise(const std::vector<TerminalRecord>& lines)
{
    ProtocolNumbers messages = RegisteredProtocolNumbers();
    const UINT messageOfKind[] = {messages.debug, messages.log, messages.statistic, messages.error};
    std::unordered_map<std::string, std::pair<int, int>> senderOfBody;
    for (int t = 0; t < ThreadCount; ++t) {
        for (int line = 0; line < LinesPerThread; ++line) {
            senderOfBody[Body(t, line) + "\n"] = std::make_pair(t, line);
        }
    }

    DeliverySummary summary;
    std::vector<std::vector<int>> arrivals(ThreadCount, std::vector<int>(LinesPerThread, 0));
    std::vector<int> lastLine(ThreadCount, -1);
    for (const TerminalRecord& received : lines) {
        ++summary.received;
        size_t separator = received.text.find(Separator);
        auto sender = senderOfBody.end();
        if (separator != std::string::npos) {
            sender = senderOfBody.find(received.text.substr(separator + Separator.size()));
        }
        if (sender == senderOfBody.end()) {
            ++summary.garbled;
            continue;
        }
        int thread = sender->second.first;
        int line = sender->second.second;
        if (received.message != messageOfKind[line % 4] || received.letter != Letters[line % 4]) {
            ++summary.garbled;
            continue;
        }
        summary.misnamed += received.text.compare(0, separator, TaskName(thread, line / LinesPerName)) != 0;
        summary.outOfOrder += line <= lastLine[thread];
        lastLine[thread] = line;
        ++arrivals[thread][line];
    }
    for (const std::vector<int>& thread : arrivals) {
        for (int count : thread) {
            summary.lost += count == 0;
            summary.duplicated += count > 1 ? count - 1 : 0;
        }
    }
    return summary;
}

TEST(ManyThreadsStress, EightThreadsOf20000LinesWithRegistrationsArriveWholeAndLeaveNoAtom)
{
    TerminalTestLock lock;
    LoadedDbgClient library;
    ASSERT_TRUE(library.Loaded());
    TerminalProcess terminal;
    ASSERT_TRUE(terminal.Start(PathBesideProgram(L"recording-terminal.exe")));
    const VornakMessageFunction sendOfKind[] = {library->debugMessage, library->logMessage,
                                                library->statisticMessage, library->errorMessage};

    std::atomic<int> stillSending{ThreadCount};
    std::atomic<int> failedCalls{0};
    std::atomic<int> olderNamesHeld{0};
    HANDLE mayEnd = CreateEventA(NULL, TRUE, FALSE, NULL);
    auto started = std::chrono::steady_clock::now();
    ThreadsTogether threads(ThreadCount, [&](int t) {
        for (int line = 0; line < LinesPerThread; ++line) {
            int name = line / LinesPerName;
            if (line % LinesPerName == 0) {
                failedCalls += library->registerTask(TaskName(t, name).c_str()) != VORNAKDBG_STATUS_DONE;
                // No one else holds these names: the one before is gone with its entry.
                olderNamesHeld += name > 0 && GlobalFindAtomA(TaskName(t, name - 1).c_str()) != 0;
            }
            if (sendOfKind[line % 4](LineFormat, line, t, Tail(t, line).c_str()) != VORNAKDBG_STATUS_DONE) {
                ++failedCalls;
            }
        }
        --stillSending;
        WaitForSingleObject(mayEnd, INFINITE);
    });
    while (stillSending > 0) {
        Sleep(10);
    }
    double sendingSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // Every thread still lives: each holds its newest name and nothing more.
    std::vector<std::string> names;
    std::vector<std::string> newestNames;
    for (int t = 0; t < ThreadCount; ++t) {
        for (int name = 0; name < NamesPerThread; ++name) {
            names.push_back(TaskName(t, name));
        }
        newestNames.push_back(TaskName(t, NamesPerThread - 1));
    }
    size_t heldWhileLiving = AtomsStillHeld(names);
    size_t newestHeldWhileLiving = AtomsStillHeld(newestNames);
    SetEvent(mayEnd);
    threads.Join();
    CloseHandle(mayEnd);
    // The threads have ended and the library is still loaded: their names went with them.
    size_t heldAfterThreadsEnded = AtomsStillHeld(names);
    std::vector<TerminalRecord> records;
    ASSERT_TRUE(terminal.Stop(&records));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    printf("%d threads x %d lines sent in %.1f s (%.0f lines/s), received in full after %.1f s\n", ThreadCount,
           LinesPerThread, sendingSeconds, ThreadCount * LinesPerThread / sendingSeconds, seconds);
    EXPECT_EQ(0, failedCalls.load());
    EXPECT_EQ(0, olderNamesHeld.load());
    EXPECT_EQ(static_cast<size_t>(ThreadCount), heldWhileLiving);
    EXPECT_EQ(static_cast<size_t>(ThreadCount), newestHeldWhileLiving);
    EXPECT_EQ(0u, heldAfterThreadsEnded);

    DeliverySummary expected;
    expected.received = ThreadCount * LinesPerThread;
    EXPECT_EQ(expected, Summarise(records));

    library.Unload();
    ASSERT_FALSE(DbgClientStillLoaded());
    EXPECT_EQ(0u, AtomsStillHeld(names));

    std::vector<std::string> texts;
    for (int t = 0; t < ThreadCount; ++t) {
        for (int line = 0; line < LinesPerThread; ++line) {
            texts.push_back(SentText(t, line));
        }
    }
    EXPECT_EQ(0u, AtomsStillHeld(texts));
}

}  // namespace
