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

} // namespace
