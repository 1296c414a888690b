// Find among the shown lines: next, previous, wrapping, and the marks in a row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_find.h"

namespace {

LineStore StoreOf(const std::vector<std::string>& texts)
{
    LineStore store(100, 10);
    for (const std::string& text : texts) {
        ReceivedLine line;
        line.text = text + "\n";
        store.Append(std::move(line));
    }
    return store;
}

LineFinder Searching(const std::string& text, PatternSyntax syntax = PatternSyntax::PlainText)
{
    LineFinder finder;
    std::string error;
    EXPECT_TRUE(finder.SetSearch(text, syntax, false, Utf8LineEncoding(), &error)) << error;
    return finder;
}

// Rows 1, 3 and 4 hold "disk".
const std::vector<std::string> StoredTexts = {"idle", "disk full", "net up", "Disk ok", "disk again", "idle"};

// Where a search for "disk" goes from a row, and whether it passed the end of the list to get there.
struct FindStep {
    size_t from;
    size_t row;
    bool wrapped;
};

void ExpectSteps(FindDirection direction, const std::vector<FindStep>& steps)
{
    LineStore store = StoreOf(StoredTexts);
    LineFinder finder = Searching("disk");
    for (const FindStep& step : steps) {
        FindResult result = finder.Find(store, step.from, direction);
        EXPECT_EQ(step.row, result.row) << "from " << step.from;
        EXPECT_EQ(step.wrapped, result.wrapped) << "from " << step.from;
    }
}

TEST(LineFind, NextGoesDownFromTheCurrentRowAndWrapsToTheTop)
{
    ExpectSteps(FindDirection::Next, {{NoRow, 1, false}, {1, 3, false}, {3, 4, false}, {4, 1, true}, {5, 1, true}});
}

TEST(LineFind, PreviousGoesUpAndWrapsToTheBottom)
{
    ExpectSteps(FindDirection::Previous, {{NoRow, 4, false}, {4, 3, false}, {1, 4, true}, {0, 4, true}});
}

TEST(LineFind, TheOnlyMatchIsFoundAgainFromItselfAfterAWholeRound)
{
    LineStore store = StoreOf(StoredTexts);
    FindResult result = Searching("net").Find(store, 2, FindDirection::Next);
    EXPECT_EQ(2u, result.row);
    EXPECT_TRUE(result.wrapped);
}

TEST(LineFind, NothingFoundAndNothingSearchedGiveNoRow)
{
    LineStore store = StoreOf(StoredTexts);
    EXPECT_EQ(NoRow, Searching("absent").Find(store, 0, FindDirection::Next).row);
    LineFinder inactive;
    EXPECT_FALSE(inactive.Active());
    EXPECT_EQ(NoRow, inactive.Find(store, 0, FindDirection::Next).row);
    EXPECT_EQ(NoRow, Searching("disk").Find(StoreOf({}), NoRow, FindDirection::Next).row);
    EXPECT_FALSE(Searching("").Active());
}

TEST(LineFind, OnlyTheShownLinesAreSearched)
{
    LineStore store = StoreOf(StoredTexts);
    ReceivedLine hidden;
    hidden.lineClass = LineClass::Error;
    hidden.text = "disk in an error line\n";
    store.Append(std::move(hidden));
    ClassFilter filter;
    filter.shown[static_cast<int>(LineClass::Error)] = false;
    store.SetFilter(filter);
    EXPECT_EQ(1u, Searching("disk").Find(store, 4, FindDirection::Next).row);
}

TEST(LineFind, MarksAreTheMatchesInTheRowsText)
{
    LineFinder finder = Searching("d\\w+", PatternSyntax::RegularExpression);
    std::vector<MatchSpan> marks = finder.Marks("disk and Data");
    ASSERT_EQ(2u, marks.size());
    EXPECT_EQ(0u, marks[0].begin);
    EXPECT_EQ(4u, marks[0].end);
    EXPECT_EQ(9u, marks[1].begin);
    EXPECT_EQ(13u, marks[1].end);
    EXPECT_TRUE(finder.RowMatches(StoreOf({"odd"}).ShownLine(0)));
}

TEST(LineFind, ABadExpressionIsRefusedAndTheSearchBeforeStays)
{
    LineFinder finder = Searching("net");
    std::string error;
    EXPECT_FALSE(finder.SetSearch("net(", PatternSyntax::RegularExpression, false, Utf8LineEncoding(), &error));
    EXPECT_EQ("missing ) for the ( at character 4", error);
    EXPECT_EQ(2u, finder.Find(StoreOf(StoredTexts), NoRow, FindDirection::Next).row);
}

} // namespace
