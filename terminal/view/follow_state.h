// Whether the list follows the newest line. It does until the user scrolls away from the end or
// selects a line, and again when they go back to the end (End, Ctrl+End, or scrolling down to the
// last row). A line that matches a stop rule while the list follows stops it there: the view shows
// and selects that line, and only End (or the Follow command) lets it follow again, so that
// lines arriving under it cannot carry the view on.
#pragma once

#include <stdint.h>

enum class FollowMode : uint8_t {
    Following,
    HeldByUser,      // scrolled up or selected a line
    StoppedOnMatch,  // a stop rule matched
};

enum class FollowEvent : uint8_t {
    LinesArrived,         // shown lines were added at the end
    StopLineArrived,      // a shown line that matches a stop rule was added (before LinesArrived)
    ScrolledAwayFromEnd,  // the user scrolled and the last row is out of view
    ScrolledToEnd,        // the user scrolled and the last row is in view
    LineSelected,         // the user selected a line (not the view selecting one itself)
    WentToEnd,            // End or Ctrl+End
    Cleared,              // the list was emptied
};

// What the view does after an event.
enum class FollowReaction : uint8_t {
    None,
    ShowNewest,    // bring the last row into view
    ShowStopLine,  // bring the line of StopLineArrived into view and select it
};

class FollowState {
public:
    FollowReaction Handle(FollowEvent event);
    FollowMode Mode() const { return mode_; }
    bool Following() const { return mode_ == FollowMode::Following; }

private:
    FollowMode mode_ = FollowMode::Following;
};

// "following", "held", "stopped on a match": for the status bar.
const char* FollowModeText(FollowMode mode);
