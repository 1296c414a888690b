// The load fails when a message name cannot be registered. The names are registered atoms, so the
// test fills the global atom table: it runs only under a Wine server of its own.
#include <gtest/gtest.h>

#include <stdio.h>

#include <vector>

#include "loaded_dbgclient.h"
#include "vornak_terminal_protocol.h"

namespace {

std::vector<bool> NamesRegistered()
{
    std::vector<bool> registered;
    for (const char* name : VornakTerminalMessageNames) {
        registered.push_back(GlobalFindAtomA(name) != 0);
    }
    return registered;
}

class FullAtomTable {
public:
    FullAtomTable()
    {
        char name[32];
        for (int i = 0;; ++i) {
            snprintf(name, sizeof(name), "filler %d", i);
            ATOM atom = GlobalAddAtomA(name);
            if (atom == 0) {
                break;
            }
            fillers_.push_back(atom);
        }
    }
    ~FullAtomTable()
    {
        while (!fillers_.empty()) {
            MakeRoom();
        }
    }
    bool Full() const { return !fillers_.empty(); }
    void MakeRoom()
    {
        GlobalDeleteAtom(fillers_.back());
        fillers_.pop_back();
    }

private:
    std::vector<ATOM> fillers_;
};

TEST(LoadFailure, LoadFailsUntilAllFiveMessageNamesAreRegistered)
{
    if (GetEnvironmentVariableA("VORNAK_OWN_WINESERVER", NULL, 0) == 0) {
        GTEST_SKIP() << "fills the global atom table: run it with own-wineserver-run";
    }
    ASSERT_EQ(std::vector<bool>(5, false), NamesRegistered());
    FullAtomTable table;
    ASSERT_TRUE(table.Full());

    EXPECT_EQ(NULL, LoadDbgClientModule());
    EXPECT_EQ(static_cast<DWORD>(ERROR_DLL_INIT_FAILED), GetLastError());
    EXPECT_EQ(std::vector<bool>(5, false), NamesRegistered());

    // Room for four names: they are registered, in order, and stay so; the load still fails.
    for (int i = 0; i < 4; ++i) {
        table.MakeRoom();
    }
    EXPECT_EQ(NULL, LoadDbgClientModule());
    EXPECT_EQ(std::vector<bool>({true, true, true, true, false}), NamesRegistered());

    table.MakeRoom();
    HMODULE module = LoadDbgClientModule();
    EXPECT_NE(static_cast<HMODULE>(NULL), module);
    EXPECT_EQ(std::vector<bool>(5, true), NamesRegistered());
    if (module != NULL) {
        FreeLibrary(module);
    }
}

}  // namespace
