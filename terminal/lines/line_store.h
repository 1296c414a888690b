// The lines the window keeps, and which of them the class filter and the line test (the user's
// rules and quick filter) show.
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
    // A line of a shown class is shown when test says so (no test: every such line). Applies to
    // the lines kept and to those that come.
    void SetLineTest(std::function<bool(const ReceivedLine&)> test);

    size_t ShownCount() const { return shown_.size(); }
    const ReceivedLine& ShownLine(size_t row) const;
    size_t KeptCount() const { return lines_.size(); }
    uint64_t DroppedCount() const { return dropped_; }
    // Of those, the ones that were shown: rows that vanished from the top of the list.
    uint64_t DroppedShownCount() const { return droppedShown_; }

private:
    void DropOldest(size_t count);
    void RebuildShown();

    size_t capacity_;
    size_t dropBlock_;
    bool Shows(const ReceivedLine& line) const;

    ClassFilter filter_;
    std::function<bool(const ReceivedLine&)> test_;
    std::deque<ReceivedLine> lines_;
    // Positions in lines_ of the lines the filter shows, ascending.
    std::vector<size_t> shown_;
    uint64_t dropped_ = 0;
    uint64_t droppedShown_ = 0;
};
