// Which of the shown rows a search matches, counted a slice at a time so that a search over
// millions of lines never holds the window: what the find bar's "12 of 340" says.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "line_find.h"
#include "line_store.h"

class FoundRows {
public:
    // The search or the rows shown changed: count again from the first row.
    void Restart();
    // Looks at up to `rows` shown rows not looked at yet (new rows at the end are looked at as
    // they come); true when every shown row has been looked at. Counts again from the first row
    // when store is another one, or lost its oldest lines, since the last look.
    bool CountSome(const LineFinder& finder, const LineStore& store, size_t rows);
    bool Complete(const LineStore& store) const;
    size_t Count() const { return rows_.size(); }
    // Which match row is, from 1; 0 when it is not one (or not counted yet).
    size_t Position(size_t row) const;

private:
    std::vector<uint32_t> rows_;
    size_t looked_ = 0;
    const LineStore* store_ = nullptr;
    uint64_t dropped_ = 0;
};
