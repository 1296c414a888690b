// 500 loads and unloads of the library in one host, each with registrations: two of one name on the
// host's thread (the second replacing the first), one on a short-lived thread (after a line of its
// own) of a name the test itself also holds, given back as that thread ends. Every line arrives
// under its name (a load never sees an earlier load's names), every unload and thread end gives
// back exactly the references its entries took, and nothing is left in the global atom table.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "loaded_library.h"
#include "terminal_lines.h"
#include "terminal_process.h"
#include "terminal_test_lock.h"

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
        LoadedLibrary library;
        ASSERT_TRUE(LoadLibraryUnderTest(&library)) << "cycle " << cycle;
        failedCalls += library.registerTask(CycleName(cycle).c_str()) != 0;
        failedCalls += library.registerTask(CycleName(cycle).c_str()) != 0;
        std::thread([&] {
            // A line before the thread's first registration goes out unlabelled; the ones after
            // carry the name.
            failedCalls += library.logMessage("cycle %d", cycle) != 0;
            failedCalls += library.registerTask(sharedName.c_str()) != 0;
            failedCalls += library.logMessage("cycle %d", cycle) != 0;
        }).join();
        failedCalls += library.debugMessage("cycle %d", cycle) != 0;
        UnloadLibraryUnderTest(&library);
        stillLoaded += LibraryStillLoaded();
        sharedNameLost += GlobalFindAtomA(sharedName.c_str()) != sharedAtom;
    }
    std::vector<TerminalRecord> records;
    ASSERT_TRUE(terminal.Stop(&records));
    EXPECT_EQ(0, failedCalls);
    EXPECT_EQ(0, stillLoaded);
    EXPECT_EQ(0, sharedNameLost);

    LineMessages messages = RegisteredLineMessages();
    std::vector<TerminalLine> expected;
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        std::string body = "cycle " + std::to_string(cycle) + "\n";
        expected.push_back(TerminalLine{messages.log, 'L', body});
        expected.push_back(TerminalLine{messages.log, 'L', sharedName + " : " + body});
        expected.push_back(TerminalLine{messages.debug, 'D', CycleName(cycle) + " : " + body});
    }
    EXPECT_EQ(expected, LinesOf(records));

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
