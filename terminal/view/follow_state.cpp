#include "follow_state.h"

#include "terminal_texts.h"

FollowReaction FollowState::Handle(FollowEvent event)
{
    switch (event) {
    case FollowEvent::LinesArrived:
        return mode_ == FollowMode::Following ? FollowReaction::ShowNewest : FollowReaction::None;
    case FollowEvent::StopLineArrived:
        // Only a list that follows is stopped: one the user holds stays where the user put it.
        if (mode_ != FollowMode::Following) {
            return FollowReaction::None;
        }
        mode_ = FollowMode::StoppedOnMatch;
        return FollowReaction::ShowStopLine;
    case FollowEvent::ScrolledAwayFromEnd:
    case FollowEvent::LineSelected:
        if (mode_ == FollowMode::Following) {
            mode_ = FollowMode::HeldByUser;
        }
        return FollowReaction::None;
    case FollowEvent::ScrolledToEnd:
        // A stop holds until End: the stop line itself is often in view at the end.
        if (mode_ == FollowMode::HeldByUser) {
            mode_ = FollowMode::Following;
            return FollowReaction::ShowNewest;
        }
        return FollowReaction::None;
    case FollowEvent::WentToEnd:
    case FollowEvent::Cleared:
        mode_ = FollowMode::Following;
        return FollowReaction::ShowNewest;
    }
    return FollowReaction::None;
}

const char* FollowModeText(FollowMode mode)
{
    switch (mode) {
    case FollowMode::Following: return FollowingText;
    case FollowMode::HeldByUser: return HeldText;
    case FollowMode::StoppedOnMatch: return StoppedOnMatchText;
    }
    return FollowingText;
}
