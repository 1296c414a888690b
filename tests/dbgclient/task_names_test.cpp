// Task names: registration statuses, which name labels which thread's lines, and the atom
// references the list holds: one per thread, until the thread registers again or ends, or the
// library is unloaded.
#include <string>
#include <thread>

#include "dbgclient_fixture.h"
#include "non_copyable.h"

namespace {

using TaskNames = DbgClientTest;

// Runs work on a thread of its own and waits for it: a thread other than the test's.
template <typename Work>
void OnAnotherThread(Work work)
{
    std::thread(work).join();
}

// One step of a scenario across threads: one thread marks it done, others wait for it.
class Step : private NonCopyable {
public:
    Step() : event_(CreateEventA(NULL, TRUE, FALSE, NULL)) {}
    ~Step() { CloseHandle(event_); }
    void Done() { SetEvent(event_); }
    void Await() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

// Blocks in use on the process heap, where the library keeps its task entries.
size_t BusyBlocksOfProcessHeap()
{
    HANDLE heap = GetProcessHeap();
    size_t busy = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        busy += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
    }
    HeapUnlock(heap);
    return busy;
}

TEST_P(TaskNames, WithoutTerminalNothingIsRegisteredAndLaterLinesCarryNoName)
{
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->registerTask("Early"));
    EXPECT_EQ(VORNAKDBG_STATUS_NO_TERMINAL, dbg->registerTask(nullptr));
    EXPECT_FALSE(AtomTableHolds("Early"));
    StartTerminal();
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("late"));
    EXPECT_EQ(std::vector<TerminalRecord>{LineRecord(number.debug, "late\n", Debug)}, TerminalSaw());
}

TEST_P(TaskNames, MissingNameReturns1AndANameTheAtomTableRefusesReturns3)
{
    // The table refuses strings over 255 characters, and the empty string.
    StartTerminal();
    EXPECT_EQ(VORNAKDBG_STATUS_TEXT_MISSING, dbg->registerTask(nullptr));
    EXPECT_EQ(VORNAKDBG_STATUS_NAME_REFUSED, dbg->registerTask(std::string(256, 'L').c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_NAME_REFUSED, dbg->registerTask(""));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("unlabelled"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(std::string(255, 'M').c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("x"));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, "unlabelled\n", Debug),
        // 255 + " : " + "x" + "\n" is too long for an atom: cut, not lost.
        LineRecord(number.debug, std::string(251, 'M') + "...\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, NewestOfTwoRegistrationsLabelsTheLines)
{
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("First"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->logMessage("one"));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("Second"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->logMessage("two"));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.log, "First : one\n", VORNAK_LETTER_LOG),
        LineRecord(number.log, "Second : two\n", VORNAK_LETTER_LOG),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, ThreadThatNeverRegisteredGetsNoName)
{
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("Main"));
    OnAnotherThread([&] { EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("from elsewhere")); });
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("from main"));
    OnAnotherThread([&] {
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("Helper"));
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("from helper"));
    });
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("from main again"));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, "from elsewhere\n", Debug),
        LineRecord(number.debug, "Main : from main\n", Debug),
        LineRecord(number.debug, "Helper : from helper\n", Debug),
        LineRecord(number.debug, "Main : from main again\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, NameOf253CharactersGivesCutLinesNotEmptyOnes)
{
    StartTerminal();
    std::string name(252, 'n');
    name += 'N';
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(name.c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("count=%d", 5));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->errorMessage(EmptyFormat.c_str()));
    std::string line = std::string(251, 'n') + "...\n";
    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, line, Debug),
        LineRecord(number.error, line, VORNAK_LETTER_ERROR),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, ThreadsNameEndsWithTheThread)
{
    // The library stays loaded: only the thread's end can have given the reference back.
    std::string name = "Ending-" + std::to_string(GetCurrentProcessId());
    StartTerminal();
    OnAnotherThread([&] {
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(name.c_str()));
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("while alive"));
        EXPECT_TRUE(AtomTableHolds(name));
    });
    EXPECT_FALSE(AtomTableHolds(name));
    OnAnotherThread([&] { EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("new thread")); });
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("main thread"));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, name + " : while alive\n", Debug),
        LineRecord(number.debug, "new thread\n", Debug),
        LineRecord(number.debug, "main thread\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, EndOfAThreadLeavesTheNamesOfTheOthersAlone)
{
    // The ending thread's entry lies between an older and a newer one of threads that live on.
    std::string older = "Older-" + std::to_string(GetCurrentProcessId());
    std::string ending = "Ending-" + std::to_string(GetCurrentProcessId());
    std::string newer = "Newer-" + std::to_string(GetCurrentProcessId());
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(older.c_str()));
    Step endingRegistered, newerRegistered, mayEnd, ended;
    std::thread endingThread([&] {
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(ending.c_str()));
        endingRegistered.Done();
        mayEnd.Await();
    });
    std::thread newerThread([&] {
        endingRegistered.Await();
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(newer.c_str()));
        newerRegistered.Done();
        ended.Await();
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("newer"));
    });
    newerRegistered.Await();
    mayEnd.Done();
    endingThread.join();
    EXPECT_FALSE(AtomTableHolds(ending));
    ended.Done();
    newerThread.join();
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("older"));
    EXPECT_TRUE(AtomTableHolds(older));

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, newer + " : newer\n", Debug),
        LineRecord(number.debug, older + " : older\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, NewRegistrationReplacesTheThreadsOlderOne)
{
    // 10,000 names of work items on one thread: the table keeps only the newest.
    const int Names = 10000;
    auto jobName = [](int job) {
        return "Job " + std::to_string(job) + " of " + std::to_string(GetCurrentProcessId());
    };
    StartTerminal();
    int refused = 0;
    for (int job = 0; job < Names; ++job) {
        refused += dbg->registerTask(jobName(job).c_str()) != VORNAKDBG_STATUS_DONE;
    }
    EXPECT_EQ(0, refused);
    int held = 0;
    for (int job = 0; job < Names; ++job) {
        held += AtomTableHolds(jobName(job));
    }
    EXPECT_EQ(1, held);
    EXPECT_TRUE(AtomTableHolds(jobName(Names - 1)));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->statisticMessage("done"));
    std::vector<TerminalRecord> expected = {
        LineRecord(number.statistic, jobName(Names - 1) + " : done\n", VORNAK_LETTER_STATISTIC),
    };
    EXPECT_EQ(expected, TerminalSaw());
    dbg.Unload();
    EXPECT_FALSE(AtomTableHolds(jobName(Names - 1)));
}

TEST_P(TaskNames, SameNameRegisteredAgainAndAgainHoldsOneEntry)
{
    // Each entry is a block of the process heap: registering again must not add one each time.
    std::string name = "Again-" + std::to_string(GetCurrentProcessId());
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(name.c_str()));
    size_t blocksBefore = BusyBlocksOfProcessHeap();
    int refused = 0;
    for (int i = 0; i < 10000; ++i) {
        refused += dbg->registerTask(name.c_str()) != VORNAKDBG_STATUS_DONE;
    }
    size_t blocksAfter = BusyBlocksOfProcessHeap();
    EXPECT_EQ(0, refused);
    EXPECT_LT(blocksAfter, blocksBefore + 100);
    // One reference, given back at unload; the test's own reference outlives it.
    ATOM own = GlobalAddAtomA(name.c_str());
    dbg.Unload();
    EXPECT_TRUE(AtomTableHolds(name));
    GlobalDeleteAtom(own);
    EXPECT_FALSE(AtomTableHolds(name));
}

TEST_P(TaskNames, NameDifferingOnlyInCaseShowsTheCaseAlreadyInTheTable)
{
    // The first spelling stays in the table while its thread lives.
    StartTerminal();
    Step registered, finished;
    std::thread first([&] {
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("CaseName"));
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("first"));
        registered.Done();
        finished.Await();
    });
    registered.Await();
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("CASENAME"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("second"));
    finished.Done();
    first.join();

    std::vector<TerminalRecord> expected = {
        LineRecord(number.debug, "CaseName : first\n", Debug),
        LineRecord(number.debug, "CaseName : second\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, PercentInANameIsShownAsIs)
{
    // Expanded as part of the format, "%s" and "%n" here would take values never passed.
    StartTerminal();
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask("100%s%n%d"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->debugMessage("v=%d", 7));
    EXPECT_EQ(std::vector<TerminalRecord>{LineRecord(number.debug, "100%s%n%d : v=7\n", Debug)}, TerminalSaw());
}

TEST_P(TaskNames, UnloadGivesBackEveryNameReferenceAndNoMore)
{
    // A third party holds the shared name too: unloading must leave exactly its reference. The
    // names are new to the table (which outlives processes) in every run.
    std::string shared = "Shared-" + std::to_string(GetCurrentProcessId());
    std::string own = "Own-" + std::to_string(GetCurrentProcessId());
    StartTerminal();
    ATOM thirdParty = GlobalAddAtomA(shared.c_str());
    ASSERT_NE(0, thirdParty);
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(shared.c_str()));
    OnAnotherThread([&] { EXPECT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(shared.c_str())); });
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(own.c_str()));
    ASSERT_EQ(VORNAKDBG_STATUS_DONE, dbg->registerTask(own.c_str()));
    EXPECT_TRUE(AtomTableHolds(own));

    dbg.Unload();
    EXPECT_FALSE(AtomTableHolds(own));
    EXPECT_TRUE(AtomTableHolds(shared));
    GlobalDeleteAtom(thirdParty);
    EXPECT_FALSE(AtomTableHolds(shared));
}

}  // namespace

INSTANTIATE_BY_NAME_AND_ORDINAL(TaskNames);
