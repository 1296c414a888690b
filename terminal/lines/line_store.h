// The lines the window keeps, and which of them the class filter and the judge (the user's rules
// and quick filter) show.
#pragma once

#include <stdint.h>

#include <deque>
#include <functional>
#include <vector>

#include "received_line.h"

struct ClassFilter {
    bool shown[ShownClassCount] = {true, true, true, true, true};
    bool Shows(LineClass lineClass) const;
};

// What the judge said of a line, kept beside it: judged once when the line is stored and again
// only when the judge changes, never when it is drawn. HiddenByRules hides the line; the other
// bits are the judge's own (a highlight, a stop mark) for whoever draws the line.
using LineMark = uint16_t;
constexpr LineMark HiddenByRules = 0x8000;

constexpr size_t NoShownRow = static_cast<size_t>(-1);

// Keeps at most `capacity` lines. When a line arrives at a full store the oldest `dropBlock`
// lines go at once: dropping in blocks keeps the rows of the list still for a while instead of
// shifting them under the user's eyes with every new line.
class LineStore {
public:
    LineStore(size_t capacity, size_t dropBlock);

    // Adds a line (a clear marker clears instead). Returns true when rows already shown moved or
    // vanished, so the view must be redrawn whole rather than only extended.
    bool Append(ReceivedLine&& line);
    void Clear();
    void SetFilter(const ClassFilter& filter);
    const ClassFilter& Filter() const { return filter_; }
    // A line of a shown class is shown unless judge marks it HiddenByRules (no judge: every such
    // line). Judges the lines kept now, and those that come as they come.
    void SetJudge(std::function<LineMark(const ReceivedLine&)> judge);

    size_t ShownCount() const { return shown_.size(); }
    const ReceivedLine& ShownLine(size_t row) const;
    LineMark ShownMark(size_t row) const;
    // Where the row-th shown line is among the kept ones (KeptLine's index).
    size_t KeptIndexOfShown(size_t row) const { return shown_[row]; }
    // The last shown row whose line is kept at or before index; NoShownRow when there is none.
    size_t ShownRowAtOrBefore(size_t index) const;
    size_t KeptCount() const { return lines_.size(); }
    // The index-th line kept, shown or not, from the oldest.
    const ReceivedLine& KeptLine(size_t index) const { return lines_[index]; }
    uint64_t DroppedCount() const { return dropped_; }
    size_t Capacity() const { return capacity_; }
    // Of those, the ones that were shown: rows that vanished from the top of the list.
    uint64_t DroppedShownCount() const { return droppedShown_; }

private:
    void DropOldest(size_t count);
    void RebuildShown();

    bool Shows(const ReceivedLine& line, LineMark mark) const;
    LineMark Judged(const ReceivedLine& line) const;

    size_t capacity_;
    size_t dropBlock_;
    ClassFilter filter_;
    std::function<LineMark(const ReceivedLine&)> judge_;
    std::deque<ReceivedLine> lines_;
    std::deque<LineMark> marks_;  // one a line, beside it
    // Positions in lines_ of the lines the filter shows, ascending.
    std::vector<size_t> shown_;
    uint64_t dropped_ = 0;
    uint64_t droppedShown_ = 0;
};
