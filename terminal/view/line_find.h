// Find among the shown lines (Ctrl+F, F3, Shift+F3): the next or previous row whose text, as the
// list shows it, holds the search text; and where in a row's text the matches are, for marking.
// A search wraps: past the last row it goes on from the first (and backwards from the last), and
// says so, as editors do; a search that finds only the row it started from finds that row.
#pragma once

#include <stddef.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "line_rules.h"
#include "line_store.h"
#include "text_pattern.h"

enum class FindDirection : uint8_t {
    Next,
    Previous,
};

constexpr size_t NoRow = static_cast<size_t>(-1);

struct FindResult {
    size_t row = NoRow;    // NoRow: no row matches
    bool wrapped = false;  // the search went past the end (or the start) to find it
};

class LineFinder {
public:
    // text: what the user typed, UTF-8. An empty text clears the search. False with *error for
    // a regular expression that is not understood (the old search stays).
    bool SetSearch(std::string_view text, PatternSyntax syntax, bool caseSensitive, const LineEncoding& encoding,
                   std::string* error);
    bool Active() const { return active_; }

    // From row `from` (NoRow: from before the first row going forward, after the last going
    // back), the nearest matching row in direction, among rowCount rows given by lineAt.
    FindResult Find(size_t rowCount, const std::function<StoredLine(size_t)>& lineAt, size_t from,
                    FindDirection direction) const;
    // The same over the rows a LineStore shows.
    FindResult Find(const LineStore& store, size_t from, FindDirection direction) const;

    // Whether a row matches: for a mark beside it.
    bool RowMatches(const StoredLine& line) const;

    // The matches in the text a row shows (MatchedText), as byte ranges of it: for drawing them
    // marked. None when the search is not active.
    std::vector<MatchSpan> Marks(std::string_view shownText) const;

private:
    TextPattern pattern_;
    bool active_ = false;
};
