// Lines sent through the real library arrive in the real terminal (headless, writing to a file)
// with their class and text.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "running_terminal.h"
#include "terminal_test_lock.h"
#include "vornakdbg32.h"

namespace {

using Lines = std::vector<std::string>;

class TerminalDelivery : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(terminal_.Start()); }

    // Task names last as long as the process: each test that registers one does so on a thread
    // of its own, so no other test's lines carry it.
    template <typename Sends>
    void OnTaskThread(Sends sends)
    {
        std::thread(sends).join();
    }

    Lines Received()
    {
        EXPECT_EQ(0, terminal_.Stop()) << terminal_.Errors();
        return terminal_.LinesWithoutTime();
    }

    TerminalTestLock lock_;
    RunningTerminal terminal_;
};

TEST_F(TerminalDelivery, EveryClassArrivesWithItsClassAndText)
{
    OnTaskThread([] {
        ASSERT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_RegisterTask("Scanner"));
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("count=%d", 5));
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("opened %d files", 3));
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakStat_Message("packets=%d bytes=%d", 12, 3400));
        EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakError_Message("disk %s", "full"));
    });
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("no task on this thread"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Separator(0));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Separator('='));

    Lines expected = {
        "debug     Scanner : count=5",
        "log       Scanner : opened 3 files",
        "statistic Scanner : packets=12 bytes=3400",
        "error     Scanner : disk full",
        "debug     no task on this thread",
        "separator ----------------------------------------------------------------------",
        "separator ======================================================================",
    };
    EXPECT_EQ(expected, Received());
}

TEST_F(TerminalDelivery, ClearRequestIsMarkedBetweenTheLinesAroundIt)
{
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("before the clear"));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_ClearTerminal());
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("after the clear"));

    Lines expected = {
        "log       before the clear",
        "clear     terminal cleared",
        "log       after the clear",
    };
    EXPECT_EQ(expected, Received());
}

TEST_F(TerminalDelivery, LineOfTwoHundredFiftyFiveCharactersArrivesOneMoreArrivesCut)
{
    // With its line feed, 254 characters of text fill an atom exactly; the library cuts 255 to
    // their first 251 and "...".
    std::string fits(254, 'a');
    std::string tooLong(255, 'b');
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakDbg_Message("%s", fits.c_str()));
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakError_Message("%s", tooLong.c_str()));

    Lines expected = {
        "debug     " + fits,
        "error     " + std::string(251, 'b') + "...",
    };
    EXPECT_EQ(expected, Received());
}

TEST_F(TerminalDelivery, ControlCharactersInsideALineAreWrittenAsEscapes)
{
    EXPECT_EQ(VORNAKDBG_STATUS_DONE, VornakLog_Message("a\tb\r\nc%c", 1));

    Lines expected = {"log       a\\tb\\r\\nc\\x01"};
    EXPECT_EQ(expected, Received());
}

} // namespace
