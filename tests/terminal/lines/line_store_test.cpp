// What the window keeps and shows: the cap on kept lines, the class filter, clearing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_store.h"
#include "received_lines.h"

namespace {

std::vector<std::string> Shown(const LineStore& store)
{
    std::vector<std::string> texts;
    for (size_t row = 0; row < store.ShownCount(); ++row) {
        texts.push_back(std::string(store.ShownLine(row).text));
    }
    return texts;
}

TEST(LineStore, FullStoreDropsItsOldestBlockWhenTheNextLineArrives)
{
    LineStore store(5, 2);
    for (const char* text : {"1", "2", "3", "4", "5"}) {
        EXPECT_FALSE(store.Append(Line(LineClass::Debug, text)));
    }
    EXPECT_TRUE(store.Append(Line(LineClass::Debug, "6")));

    EXPECT_EQ((std::vector<std::string>{"3", "4", "5", "6"}), Shown(store));
    EXPECT_EQ(2u, store.DroppedCount());
    EXPECT_EQ(4u, store.KeptCount());
}

// "pid name: text" of each kept line.
std::vector<std::string> Writers(const LineStore& store)
{
    std::vector<std::string> lines;
    for (size_t i = 0; i < store.KeptCount(); ++i) {
        StoredLine line = store.KeptLine(i);
        lines.push_back(std::to_string(line.processId) + " " + std::string(line.processName) + ": " +
                        std::string(line.text));
    }
    return lines;
}

TEST(LineStore, EachOdsLineKeepsItsWriterThroughDropsAndAWriterNoLineNamesIsForgotten)
{
    auto ods = [](uint32_t id, const char* name, const char* text) {
        ReceivedLine line = Line(LineClass::Ods, text);
        line.processId = id;
        line.processName = name;
        return line;
    };
    LineStore store(4, 2);
    store.Append(ods(10, "a.exe", "1"));
    store.Append(ods(20, "b.exe", "2"));
    store.Append(Line(LineClass::Debug, "host"));
    store.Append(ods(10, "a.exe", "3"));
    // The first two go, and with them the only line of b.exe: its number goes to c.exe.
    store.Append(ods(30, "c.exe", "4"));
    store.Append(ods(10, "", "5"));  // the same id, its name unknown: another writer
    EXPECT_EQ((std::vector<std::string>{"0 : host", "10 a.exe: 3", "30 c.exe: 4", "10 : 5"}), Writers(store));
    store.Clear();
    store.Append(ods(20, "b.exe", "6"));
    EXPECT_EQ((std::vector<std::string>{"20 b.exe: 6"}), Writers(store));
}

TEST(LineStore, FilterHidesAClassAndShowsItAgainInArrivalOrder)
{
    LineStore store(10, 1);
    store.Append(Line(LineClass::Debug, "d1"));
    store.Append(Line(LineClass::Error, "e1"));
    store.Append(Line(LineClass::Separator, "---"));
    store.Append(Line(LineClass::Statistic, "s1"));

    ClassFilter filter;
    filter.shown[static_cast<int>(LineClass::Error)] = false;
    filter.shown[static_cast<int>(LineClass::Separator)] = false;
    store.SetFilter(filter);
    store.Append(Line(LineClass::Error, "e2"));
    store.Append(Line(LineClass::Log, "l1"));
    EXPECT_EQ((std::vector<std::string>{"d1", "s1", "l1"}), Shown(store));
    EXPECT_EQ(6u, store.KeptCount());

    store.SetFilter(ClassFilter());
    EXPECT_EQ((std::vector<std::string>{"d1", "e1", "---", "s1", "e2", "l1"}), Shown(store));
}

TEST(LineStore, ClearMarkerEmptiesTheStoreAndIsNotKept)
{
    LineStore store(10, 1);
    store.Append(Line(LineClass::Log, "before"));
    EXPECT_TRUE(store.Append(Line(LineClass::ClearMarker, "")));
    store.Append(Line(LineClass::Log, "after"));

    EXPECT_EQ((std::vector<std::string>{"after"}), Shown(store));
    EXPECT_EQ(0u, store.DroppedCount());
}

// A judge that hides what holds no "port".
LineMark PortsOnly(const StoredLine& line)
{
    return line.text.find("port") != std::string::npos ? 0 : HiddenByRules;
}

TEST(LineStore, JudgeHidesKeptAndComingLinesAndWorksWithTheClassFilter)
{
    LineStore store(10, 1);
    store.Append(Line(LineClass::Debug, "port 1 up"));
    store.Append(Line(LineClass::Error, "port 2 down"));
    store.Append(Line(LineClass::Debug, "tick"));
    store.SetJudge(PortsOnly);
    EXPECT_EQ((std::vector<std::string>{"port 1 up", "port 2 down"}), Shown(store));

    ClassFilter filter;
    filter.shown[static_cast<int>(LineClass::Error)] = false;
    store.SetFilter(filter);
    store.Append(Line(LineClass::Debug, "port 3 up"));
    store.Append(Line(LineClass::Debug, "tock"));
    EXPECT_EQ((std::vector<std::string>{"port 1 up", "port 3 up"}), Shown(store));
    EXPECT_EQ(5u, store.KeptCount());

    store.SetJudge(nullptr);
    store.SetFilter(ClassFilter());
    EXPECT_EQ((std::vector<std::string>{"port 1 up", "port 2 down", "tick", "port 3 up", "tock"}), Shown(store));
}

TEST(LineStore, EachLineIsJudgedOnceAndKeepsItsMarkThroughDropsAndClassFilters)
{
    LineStore store(4, 2);
    int judged = 0;
    store.SetJudge([&judged](const StoredLine& line) {
        ++judged;
        return static_cast<LineMark>(line.text[0] == 'x' ? HiddenByRules : line.text[0]);
    });
    for (const char* text : {"a", "x1", "b", "x2"}) {
        store.Append(Line(LineClass::Debug, text));
    }
    EXPECT_EQ(4, judged);
    EXPECT_TRUE(store.Append(Line(LineClass::Debug, "c")));
    ClassFilter noErrors;
    noErrors.shown[static_cast<int>(LineClass::Error)] = false;
    store.SetFilter(noErrors);
    EXPECT_EQ(5, judged);
    EXPECT_EQ((std::vector<LineMark>{'b', 'c'}), (std::vector<LineMark>{store.ShownMark(0), store.ShownMark(1)}));
    EXPECT_EQ((std::vector<std::string>{"b", "c"}), Shown(store));
    EXPECT_EQ(3u, store.KeptCount());
    EXPECT_EQ(2u, store.DroppedCount());
    EXPECT_EQ(1u, store.DroppedShownCount());  // "a"; "x1" was hidden
}

TEST(LineStore, BookmarksStayWithTheirLinesThroughANewJudgeAndGoWithThem)
{
    LineStore store(4, 2);
    for (const char* text : {"a", "b", "c", "d"}) {
        store.Append(Line(LineClass::Debug, text));
    }
    store.ToggleBookmark(0);
    store.ToggleBookmark(2);
    // A judge's result never sets or clears a bookmark, however its bits fall.
    store.SetJudge([](const StoredLine& line) {
        return static_cast<LineMark>(line.text == "c" ? HiddenByRules : BookmarkMark);
    });
    EXPECT_EQ((std::vector<std::string>{"a", "b", "d"}), Shown(store));
    EXPECT_EQ(2u, store.BookmarkCount());
    EXPECT_FALSE(store.Bookmarked(1));
    EXPECT_EQ(0u, store.NearestBookmarkedRow(2, true));  // "c" is hidden: round to "a"
    EXPECT_EQ(0u, store.NearestBookmarkedRow(0, false)); // the only shown one finds itself
    store.SetJudge(nullptr);
    EXPECT_EQ(2u, store.NearestBookmarkedRow(NoShownRow, false));

    store.Append(Line(LineClass::Debug, "e"));  // "a" and "b" go
    EXPECT_EQ(1u, store.BookmarkCount());
    EXPECT_TRUE(store.Bookmarked(0));
    store.Clear();
    EXPECT_EQ(0u, store.BookmarkCount());
    EXPECT_EQ(NoShownRow, store.NearestBookmarkedRow(NoShownRow, true));
}

// Each bound lets the store fill up to it and drops the oldest block only on the line past it.
TEST(LineStore, DepthAndMemoryBoundsDropTheOldestBlockOnlyOnePastTheBound)
{
    const size_t lineBytes = LineStore::LineOverheadBytes + 2;
    struct Case {
        size_t capacity;
        size_t memoryBytes;
    };
    for (Case bound : {Case{4, LineStore::NoMemoryBound}, Case{100, 4 * lineBytes}}) {
        LineStore store(bound.capacity, 2, bound.memoryBytes);
        for (const char* text : {"l1", "l2", "l3", "l4"}) {
            EXPECT_FALSE(store.Append(Line(LineClass::Debug, text)));
        }
        EXPECT_EQ(4 * lineBytes, store.MemoryBytes());
        EXPECT_TRUE(store.Append(Line(LineClass::Debug, "l5")));
        EXPECT_EQ((std::vector<std::string>{"l3", "l4", "l5"}), Shown(store));
        EXPECT_EQ(2u, store.DroppedCount());
        EXPECT_EQ(3 * lineBytes, store.MemoryBytes());
    }
}

TEST(LineStore, LoweringTheBoundsDropsTheOldestAtOnce)
{
    LineStore store(10, 5);
    for (const char* text : {"l1", "l2", "l3", "l4", "l5", "l6"}) {
        store.Append(Line(LineClass::Debug, text));
    }
    EXPECT_TRUE(store.SetLimits(4, 2, LineStore::NoMemoryBound));
    EXPECT_EQ((std::vector<std::string>{"l3", "l4", "l5", "l6"}), Shown(store));
    EXPECT_TRUE(store.SetLimits(4, 2, 3 * (LineStore::LineOverheadBytes + 2)));
    EXPECT_EQ((std::vector<std::string>{"l5", "l6"}), Shown(store));
    EXPECT_EQ(4u, store.DroppedCount());
}

// Many text blocks filled, dropped and freed: every kept line still reads its own text.
TEST(LineStore, TextsSurviveTheirNeighboursBlocksBeingFreed)
{
    LineStore store(1000, 300);
    for (int i = 0; i < 20000; ++i) {
        store.Append(Line(LineClass::Log, std::to_string(i) + std::string(static_cast<size_t>(i % 200), 'x')));
    }
    ASSERT_EQ(800u, store.KeptCount());
    for (size_t index = 0; index < store.KeptCount(); ++index) {
        int number = static_cast<int>(19200 + index);
        ASSERT_EQ(std::to_string(number) + std::string(static_cast<size_t>(number % 200), 'x'),
                  std::string(store.KeptLine(index).text));
    }
}

// Judging in slices shows the old verdicts until the last kept line is judged; lines that arrive
// or go meanwhile are judged by the new judge.
TEST(LineStore, JudgingInSlicesShowsTheNewVerdictsOnlyWhenDone)
{
    LineStore store(6, 2);
    for (const char* text : {"port 1", "tick 1", "port 2", "tick 2", "port 3"}) {
        store.Append(Line(LineClass::Debug, text));
    }
    store.BeginJudging(PortsOnly);
    EXPECT_FALSE(store.JudgeSome(2));
    EXPECT_EQ(40u, store.JudgedPercent());
    store.Append(Line(LineClass::Debug, "tick 3"));
    EXPECT_TRUE(store.Append(Line(LineClass::Debug, "port 4")));
    EXPECT_EQ((std::vector<std::string>{"port 2", "tick 2", "port 3", "port 4"}), Shown(store));
    EXPECT_FALSE(store.JudgeSome(3));
    EXPECT_TRUE(store.JudgeSome(3));
    EXPECT_EQ((std::vector<std::string>{"port 2", "tick 2", "port 3", "port 4"}), Shown(store));
    store.FinishJudging();
    EXPECT_FALSE(store.Judging());
    EXPECT_EQ((std::vector<std::string>{"port 2", "port 3", "port 4"}), Shown(store));
}

TEST(LineStore, ShowingAllLinesSetsTheFiltersAsideAndBack)
{
    LineStore store(10, 1);
    ClassFilter noErrors;
    noErrors.shown[static_cast<int>(LineClass::Error)] = false;
    store.SetFilter(noErrors);
    store.SetJudge(PortsOnly);
    store.Append(Line(LineClass::Debug, "port 1"));
    store.Append(Line(LineClass::Debug, "tick"));
    store.Append(Line(LineClass::Error, "port 2"));
    store.ShowAll(true);
    EXPECT_EQ((std::vector<std::string>{"port 1", "tick", "port 2"}), Shown(store));
    store.ShowAll(false);
    EXPECT_EQ((std::vector<std::string>{"port 1"}), Shown(store));
}

} // namespace
