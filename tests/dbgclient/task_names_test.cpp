// Task names: registration statuses, which name labels which thread's lines, and the atom
// references the list holds until the library is unloaded.
#include <string>
#include <thread>

#include "dbgclient_fixture.h"

namespace {

using TaskNames = DbgClientTest;

const char Debug = 'D';
// An empty format that is not a literal: compilers that check formats warn about an empty literal.
const std::string EmptyFormat;

// Runs work on a thread of its own and waits for it: a thread other than the test's.
template <typename Work>
void OnAnotherThread(Work work)
{
    std::thread(work).join();
}

TEST_P(TaskNames, WithoutTerminalNothingIsRegisteredAndLaterLinesCarryNoName)
{
    EXPECT_EQ(2, dbg->registerTask("Early"));
    EXPECT_EQ(2, dbg->registerTask(nullptr));
    EXPECT_FALSE(AtomTableHolds("Early"));
    StartTerminal();
    EXPECT_EQ(0, dbg->debugMessage("late"));
    EXPECT_EQ(std::vector<Seen>{LineSeen(number.debug, "late\n", Debug)}, TerminalSaw());
}

TEST_P(TaskNames, MissingNameReturns1AndANameTheAtomTableRefusesReturns3)
{
    // The table refuses strings over 255 characters, and the empty string.
    StartTerminal();
    EXPECT_EQ(1, dbg->registerTask(nullptr));
    EXPECT_EQ(3, dbg->registerTask(std::string(256, 'L').c_str()));
    EXPECT_EQ(3, dbg->registerTask(""));
    EXPECT_EQ(0, dbg->debugMessage("unlabelled"));
    EXPECT_EQ(0, dbg->registerTask(std::string(255, 'M').c_str()));
    EXPECT_EQ(0, dbg->debugMessage("x"));

    std::vector<Seen> expected = {
        LineSeen(number.debug, "unlabelled\n", Debug),
        // 255 + " : " + "x" + "\n" is too long for an atom: cut, not lost.
        LineSeen(number.debug, std::string(251, 'M') + "...\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, NewestOfTwoRegistrationsLabelsTheLines)
{
    StartTerminal();
    ASSERT_EQ(0, dbg->registerTask("First"));
    EXPECT_EQ(0, dbg->logMessage("one"));
    ASSERT_EQ(0, dbg->registerTask("Second"));
    EXPECT_EQ(0, dbg->logMessage("two"));

    std::vector<Seen> expected = {
        LineSeen(number.log, "First : one\n", 'L'),
        LineSeen(number.log, "Second : two\n", 'L'),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, ThreadThatNeverRegisteredGetsNoName)
{
    StartTerminal();
    ASSERT_EQ(0, dbg->registerTask("Main"));
    OnAnotherThread([&] { EXPECT_EQ(0, dbg->debugMessage("from elsewhere")); });
    EXPECT_EQ(0, dbg->debugMessage("from main"));
    OnAnotherThread([&] {
        EXPECT_EQ(0, dbg->registerTask("Helper"));
        EXPECT_EQ(0, dbg->debugMessage("from helper"));
    });
    EXPECT_EQ(0, dbg->debugMessage("from main again"));

    std::vector<Seen> expected = {
        LineSeen(number.debug, "from elsewhere\n", Debug),
        LineSeen(number.debug, "Main : from main\n", Debug),
        LineSeen(number.debug, "Helper : from helper\n", Debug),
        LineSeen(number.debug, "Main : from main again\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, NameOf253CharactersGivesCutLinesNotEmptyOnes)
{
    StartTerminal();
    std::string name(252, 'n');
    name += 'N';
    ASSERT_EQ(0, dbg->registerTask(name.c_str()));
    EXPECT_EQ(0, dbg->debugMessage("count=%d", 5));
    EXPECT_EQ(0, dbg->errorMessage(EmptyFormat.c_str()));
    std::string line = std::string(251, 'n') + "...\n";
    std::vector<Seen> expected = {LineSeen(number.debug, line, Debug), LineSeen(number.error, line, 'V')};
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, NameDifferingOnlyInCaseShowsTheCaseAlreadyInTheTable)
{
    StartTerminal();
    OnAnotherThread([&] {
        EXPECT_EQ(0, dbg->registerTask("CaseName"));
        EXPECT_EQ(0, dbg->debugMessage("first"));
    });
    ASSERT_EQ(0, dbg->registerTask("CASENAME"));
    EXPECT_EQ(0, dbg->debugMessage("second"));

    std::vector<Seen> expected = {
        LineSeen(number.debug, "CaseName : first\n", Debug),
        LineSeen(number.debug, "CaseName : second\n", Debug),
    };
    EXPECT_EQ(expected, TerminalSaw());
}

TEST_P(TaskNames, PercentInANameIsShownAsIs)
{
    // Expanded as part of the format, "%s" and "%n" here would take values never passed.
    StartTerminal();
    ASSERT_EQ(0, dbg->registerTask("100%s%n%d"));
    EXPECT_EQ(0, dbg->debugMessage("v=%d", 7));
    EXPECT_EQ(std::vector<Seen>{LineSeen(number.debug, "100%s%n%d : v=7\n", Debug)}, TerminalSaw());
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
    ASSERT_EQ(0, dbg->registerTask(shared.c_str()));
    OnAnotherThread([&] { EXPECT_EQ(0, dbg->registerTask(shared.c_str())); });
    ASSERT_EQ(0, dbg->registerTask(own.c_str()));
    ASSERT_EQ(0, dbg->registerTask(own.c_str()));
    EXPECT_TRUE(AtomTableHolds(own));

    dbg.Unload();
    EXPECT_FALSE(AtomTableHolds(own));
    EXPECT_TRUE(AtomTableHolds(shared));
    GlobalDeleteAtom(thirdParty);
    EXPECT_FALSE(AtomTableHolds(shared));
}

}  // namespace

INSTANTIATE_BY_NAME_AND_ORDINAL(TaskNames);
