// A collector's queue: bounded, the newest dropped when full, the gap marked where it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "syslog_forward_queue.h"
#include "received_lines.h"

namespace {

// "a", "b", "(2 dropped)", "e": what a consumer taking everything sees.
std::vector<std::string> TakeEverything(SyslogForwardQueue& queue, size_t maxLines)
{
    std::vector<std::string> seen;
    std::vector<ForwardedLine> batch;
    for (;;) {
        uint64_t droppedAfter = 0;
        queue.Take(maxLines, 0, &batch, &droppedAfter);
        for (const ForwardedLine& forwarded : batch) {
            if (forwarded.droppedBefore != 0) {
                seen.push_back("(" + std::to_string(forwarded.droppedBefore) + " dropped)");
            }
            seen.push_back(forwarded.line.text);
        }
        if (droppedAfter != 0) {
            seen.push_back("(" + std::to_string(droppedAfter) + " dropped)");
        }
        if (batch.empty() && droppedAfter == 0) {
            return seen;
        }
    }
}

TEST(SyslogForwardQueue, LinesComeOutInOrderInBatchesOfTheSizeAsked)
{
    SyslogForwardQueue queue(10);
    for (const char* text : {"a", "b", "c", "d", "e"}) {
        queue.Push(Line(text));
    }
    std::vector<ForwardedLine> batch;
    uint64_t droppedAfter = 7;
    queue.Take(2, 0, &batch, &droppedAfter);
    ASSERT_EQ(2u, batch.size());
    EXPECT_EQ("a", batch[0].line.text);
    EXPECT_EQ("b", batch[1].line.text);
    EXPECT_EQ(0u, droppedAfter);
    EXPECT_EQ(3u, queue.WaitingLines());
    EXPECT_EQ((std::vector<std::string>{"c", "d", "e"}), TakeEverything(queue, 100));
}

TEST(SyslogForwardQueue, AFullQueueDropsTheNewestAndMarksTheGapWhereItIs)
{
    SyslogForwardQueue queue(3);
    for (const char* text : {"a", "b", "c", "d", "e"}) {
        queue.Push(Line(text));  // d and e find the queue full
    }
    EXPECT_EQ(2u, queue.DroppedLines());
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "(2 dropped)"}), TakeEverything(queue, 1));
}

TEST(SyslogForwardQueue, TheCountOfDroppedLinesStandsBeforeTheFirstLineKeptAfterThem)
{
    SyslogForwardQueue queue(2);
    for (const char* text : {"a", "b", "c", "d"}) {
        queue.Push(Line(text));
    }
    std::vector<ForwardedLine> batch;
    uint64_t droppedAfter = 0;
    queue.Take(1, 0, &batch, &droppedAfter);  // a; room for one more
    EXPECT_EQ(0u, droppedAfter) << "the gap comes after b, which still waits";
    queue.Push(Line("e"));
    queue.Push(Line("f"));  // full again
    EXPECT_EQ((std::vector<std::string>{"b", "(2 dropped)", "e", "(1 dropped)"}), TakeEverything(queue, 100));
    EXPECT_EQ(3u, queue.DroppedLines());
    EXPECT_EQ((std::vector<std::string>{}), TakeEverything(queue, 100)) << "a gap is told once";
}

TEST(SyslogForwardQueue, BoundariesOnBothSidesOfTheCapacity)
{
    SyslogForwardQueue exactlyFull(4);
    for (const char* text : {"a", "b", "c", "d"}) {
        exactlyFull.Push(Line(text));
    }
    EXPECT_EQ(0u, exactlyFull.DroppedLines());
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d"}), TakeEverything(exactlyFull, 100));

    SyslogForwardQueue oneOver(4);
    for (const char* text : {"a", "b", "c", "d", "e"}) {
        oneOver.Push(Line(text));
    }
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d", "(1 dropped)"}), TakeEverything(oneOver, 100));
}

TEST(SyslogForwardQueue, AClosedQueueTakesNoMoreAndWakesTheConsumer)
{
    SyslogForwardQueue queue(4);
    queue.Push(Line("a"));
    queue.Close();
    queue.Push(Line("late"));
    EXPECT_TRUE(queue.IsClosed());
    std::vector<ForwardedLine> batch;
    uint64_t droppedAfter = 0;
    queue.Take(10, 60000, &batch, &droppedAfter);
    ASSERT_EQ(1u, batch.size());
    EXPECT_EQ("a", batch[0].line.text);
    queue.Take(10, 60000, &batch, &droppedAfter);  // returns at once: closed
    EXPECT_TRUE(batch.empty());
    EXPECT_EQ(0u, queue.DroppedLines());
}

} // namespace
