// Following the newest line: the events of the view and what the view does after each.
#include <gtest/gtest.h>

#include <vector>

#include "follow_state.h"

namespace {

using E = FollowEvent;
using M = FollowMode;
using R = FollowReaction;

struct FollowStep {
    FollowEvent event;
    FollowReaction reaction;
    FollowMode mode;
};

void ExpectSteps(const std::vector<FollowStep>& steps)
{
    FollowState state;
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].reaction, state.Handle(steps[i].event)) << "step " << i + 1;
        EXPECT_EQ(steps[i].mode, state.Mode()) << "step " << i + 1;
    }
}

TEST(FollowState, FollowsUntilTheUserScrollsUpAndAgainWhenTheyScrollBackToTheEnd)
{
    ExpectSteps({
        {E::LinesArrived, R::ShowNewest, M::Following},
        {E::ScrolledAwayFromEnd, R::None, M::HeldByUser},
        {E::LinesArrived, R::None, M::HeldByUser},
        {E::ScrolledToEnd, R::ShowNewest, M::Following},
        {E::LinesArrived, R::ShowNewest, M::Following},
    });
}

TEST(FollowState, SelectingALineHoldsTheListAndEndFollowsAgain)
{
    ExpectSteps({
        {E::LineSelected, R::None, M::HeldByUser},
        {E::LinesArrived, R::None, M::HeldByUser},
        {E::WentToEnd, R::ShowNewest, M::Following},
    });
}

TEST(FollowState, AStopLineStopsAFollowingListThereUntilEnd)
{
    ExpectSteps({
        {E::StopLineArrived, R::ShowStopLine, M::StoppedOnMatch},
        {E::LinesArrived, R::None, M::StoppedOnMatch},
        {E::StopLineArrived, R::None, M::StoppedOnMatch},  // the first one stays shown
        {E::ScrolledToEnd, R::None, M::StoppedOnMatch},
        {E::ScrolledAwayFromEnd, R::None, M::StoppedOnMatch},
        {E::WentToEnd, R::ShowNewest, M::Following},
        {E::StopLineArrived, R::ShowStopLine, M::StoppedOnMatch},
    });
}

TEST(FollowState, AStopLineLeavesAListTheUserHoldsWhereItIs)
{
    ExpectSteps({
        {E::ScrolledAwayFromEnd, R::None, M::HeldByUser},
        {E::StopLineArrived, R::None, M::HeldByUser},
        {E::ScrolledToEnd, R::ShowNewest, M::Following},
    });
}

TEST(FollowState, ClearingFollowsAgainAfterAStopOrAHold)
{
    ExpectSteps({
        {E::StopLineArrived, R::ShowStopLine, M::StoppedOnMatch},
        {E::Cleared, R::ShowNewest, M::Following},
        {E::LineSelected, R::None, M::HeldByUser},
        {E::Cleared, R::ShowNewest, M::Following},
    });
}

TEST(FollowState, EachModeHasAStatusText)
{
    EXPECT_STREQ("following", FollowModeText(M::Following));
    EXPECT_STREQ("not following (End follows again)", FollowModeText(M::HeldByUser));
    EXPECT_STREQ("stopped on a matching line (End follows again)", FollowModeText(M::StoppedOnMatch));
}

} // namespace
