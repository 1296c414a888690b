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
        texts.push_back(store.ShownLine(row).text);
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
LineMark PortsOnly(const ReceivedLine& line)
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
    store.SetJudge([&judged](const ReceivedLine& line) {
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

} // namespace
