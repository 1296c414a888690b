// What the time column shows (View > Time): the clock time of arrival, the time since the first
// line or the last clear, or the time since the previous shown line.
//
// Elapsed times come from the lines' instants where both lines have one; a line read back from a
// file has only its time of day, and there the difference is taken within a day (a later time of
// day that reads earlier is taken to be on the next day).
#pragma once

#include <stdint.h>

#include <optional>
#include <string>

#include "received_line.h"

enum class TimeMode : uint8_t {
    Clock,
    SinceStart,
    SincePrevious,
};

// The names the settings and the menu use: "clock", "since-start", "since-previous".
const char* TimeModeName(TimeMode mode);
bool TimeModeNamed(const std::string& name, TimeMode* mode);

// Milliseconds from earlier to later (negative when the clock was set back between them).
int64_t ElapsedMs(const StoredLine& earlier, const StoredLine& later);

// "12.345", "3:07.345", "1:03:07.345" (hours go on counting past a day), with a sign when asked or
// negative: "+0.250", "-1.000".
std::string FormatElapsed(int64_t ms, bool withSign);

class TimeColumn {
public:
    void SetMode(TimeMode mode) { mode_ = mode; }
    TimeMode Mode() const { return mode_; }
    // View > Show dates: the time of day goes with its date ("2026-12-09 14:24:12.449") where the
    // line has one.
    void SetShowDates(bool show) { showDates_ = show; }
    bool ShowsDates() const { return showDates_; }

    // Every line as it arrives, clear markers included, in order: the first line, and the first
    // after a clear, becomes the start that SinceStart counts from (a clear counts from itself).
    void Observe(const StoredLine& line);
    // Edit > Clear: the next line is the start.
    void Restart() { origin_.reset(); }

    // The column's text for line; previousShown is the row above it in the list (none for the
    // first row).
    std::string Text(const StoredLine& line, const StoredLine* previousShown) const;

private:
    TimeMode mode_ = TimeMode::Clock;
    bool showDates_ = false;
    std::optional<ReceivedLine> origin_;  // text not kept: only its times
};
