// 500 loads and unloads of the library in one host, each with registrations: two of one name on the
// host's thread (the second replacing the first), one on a short-lived thread (after a line of its
// own) of a name the test itself also holds, given back as that thread ends. Every line arrives
// under its name (a load never sees an earlier load's names), every unload and thread end gives
// back exactly the references its entries took, and nothing is left in the global atom table.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "atom_table.h"
#include "loaded_dbgclient.h"
#include "terminal_process.h"
#include "terminal_test_lock.h"
#include "vornak_terminal_protocol.h"

namespace {

const int Cycles = 500;

std::string OfThisRun(const std::string& text)
{
    return text + " of " + std::to_string(GetCurrentProcessId());
}

std::string CycleName(int cycle)
{
    return OfThisRun("Cycle " + std::to_string(cycle));
}

TEST(LoadUnloadStress, FiveHundredCyclesWithRegistrationsLeaveNoAtomBehind)
{
    TerminalTestLock lock;
    TerminalProcess terminal;
    ASSERT_TRUE(terminal.Start(PathBesideProgram(L"recording-terminal.exe")));
    // A third party's reference: the library's entries for this name must neither keep it nor take it.
    const std::string sharedName = OfThisRun("Shared task");
    ATOM sharedAtom = GlobalAddAtomA(sharedName.c_str());
    ASSERT_NE(0, sharedAtom);

    int failedCalls = 0;
    int stillLoaded = 0;
    int sharedNameLost = 0;
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        LoadedDbgClient library;
        ASSERT_TRUE(library.Loaded()) << "cycle " << cycle;
        failedCalls += library->registerTask(CycleName(cycle).c_str()) != VORNAKDBG_STATUS_DONE;
        failedCalls += library->registerTask(CycleName(cycle).c_str()) != VORNAKDBG_STATUS_DONE;
        std::thread([&] {
            // A line before the thread's first registration goes out unlabelled; the ones after
            // carry the name.
            failedCalls += library->logMessage("cycle %d", cycle) != VORNAKDBG_STATUS_DONE;
            failedCalls += library->registerTask(sharedName.c_str()) != VORNAKDBG_STATUS_DONE;
            failedCalls += library->logMessage("cycle %d", cycle) != VORNAKDBG_STATUS_DONE;
        }).join();
        failedCalls += library->debugMessage("cycle %d", cycle) != VORNAKDBG_STATUS_DONE;
        library.Unload();
        stillLoaded += DbgClientStillLoaded();
        sharedNameLost += GlobalFindAtomA(sharedName.c_str()) != sharedAtom;
    }
    std::vector<TerminalRecord> records;
    ASSERT_TRUE(terminal.Stop(&records));
    EXPECT_EQ(0, failedCalls);
    EXPECT_EQ(0, stillLoaded);
    EXPECT_EQ(0, sharedNameLost);

    ProtocolNumbers messages = RegisteredProtocolNumbers();
    std::vector<TerminalRecord> expected;
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        std::string body = "cycle " + std::to_string(cycle) + "\n";
        expected.push_back(LineRecord(messages.log, body, VORNAK_LETTER_LOG));
        expected.push_back(LineRecord(messages.log, sharedName + " : " + body, VORNAK_LETTER_LOG));
        expected.push_back(LineRecord(messages.debug, CycleName(cycle) + " : " + body, VORNAK_LETTER_DEBUG));
    }
    EXPECT_EQ(expected, records);

    // Only the test's own reference is left: one delete removes the name.
    GlobalDeleteAtom(sharedAtom);
    std::vector<std::string> texts = {sharedName};
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        texts.push_back(CycleName(cycle));
        texts.push_back(sharedName + " : cycle " + std::to_string(cycle) + "\n");
        texts.push_back(CycleName(cycle) + " : cycle " + std::to_string(cycle) + "\n");
    }
    EXPECT_EQ(0u, AtomsStillHeld(texts));
}

}  // namespace
