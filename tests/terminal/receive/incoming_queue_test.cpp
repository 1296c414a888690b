// The hand-over queue between the window procedure and the writer.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "incoming_queue.h"
#include "received_lines.h"

namespace {

TEST(IncomingQueue, LinesBeyondTheCapacityAreCountedAsDroppedUntilTaken)
{
    IncomingQueue queue(2);
    queue.Push(Line("a"));
    queue.Push(Line("b"));
    queue.Push(Line("c"));
    queue.Push(Line("d"));

    std::vector<ReceivedLine> taken;
    EXPECT_EQ(2u, queue.TakeAll(&taken));
    ASSERT_EQ(2u, taken.size());
    EXPECT_EQ("a", taken[0].text);
    EXPECT_EQ("b", taken[1].text);

    queue.Push(Line("e"));
    EXPECT_EQ(0u, queue.TakeAll(&taken));
    ASSERT_EQ(1u, taken.size());
    EXPECT_EQ("e", taken[0].text);
}

TEST(IncomingQueue, WaitReportsLinesLeftAfterCloseAndEndsOnceEmpty)
{
    IncomingQueue queue(10);
    queue.Push(Line("last"));
    queue.Close();
    EXPECT_TRUE(queue.WaitForLines(0));
    std::vector<ReceivedLine> taken;
    queue.TakeAll(&taken);
    EXPECT_FALSE(queue.WaitForLines(0));
}

TEST(IncomingQueue, CloseWakesAWaitingConsumerAtOnce)
{
    // Close comes once the consumer is, almost always, waiting: then only a wake-up by Close ends
    // the wait before its minute is up. A consumer that comes to wait later finds the queue
    // closed and returns at once, so the test holds whichever thread the system runs first.
    const unsigned ConsumerWaitMs = 60000;
    IncomingQueue queue(10);
    bool open = true;
    std::thread consumer([&] { open = queue.WaitForLines(ConsumerWaitMs); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto closed = std::chrono::steady_clock::now();
    queue.Close();
    consumer.join();
    auto woken = std::chrono::steady_clock::now();
    EXPECT_FALSE(open);
    EXPECT_LT(woken - closed, std::chrono::milliseconds(ConsumerWaitMs / 2));
}

} // namespace
