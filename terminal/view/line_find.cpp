#include "line_find.h"

#include "terminal_texts.h"

bool LineFinder::SetSearch(std::string_view text, PatternSyntax syntax, bool caseSensitive,
                           const LineEncoding& encoding, std::string* error)
{
    if (text.empty()) {
        active_ = false;
        pattern_ = TextPattern();
        return true;
    }
    std::string bytes;
    if (!encoding.fromUtf8 || !encoding.fromUtf8(text, &bytes)) {
        *error = encoding.codePageNumber != 0 ? FillText(RuleNotInCodePage, {std::to_string(encoding.codePageNumber)})
                                              : std::string(RuleNotConvertible);
        return false;
    }
    TextPattern pattern;
    if (!pattern.Compile(bytes, syntax, caseSensitive, encoding.codePage, error)) {
        return false;
    }
    pattern_ = std::move(pattern);
    active_ = true;
    return true;
}

bool LineFinder::RowMatches(const StoredLine& line) const
{
    if (!active_) {
        return false;
    }
    std::string scratch;
    return pattern_.Matches(MatchedText(line, &scratch));
}

FindResult LineFinder::Find(size_t rowCount, const std::function<StoredLine(size_t)>& lineAt, size_t from,
                            FindDirection direction) const
{
    FindResult result;
    if (!active_ || rowCount == 0) {
        return result;
    }
    bool forward = direction == FindDirection::Next;
    if (from != NoRow && from >= rowCount) {
        from = NoRow;
    }
    // Every row once, starting beside `from` and coming back to it last.
    size_t row = from == NoRow ? (forward ? 0 : rowCount - 1) : from;
    bool wrapped = false;
    for (size_t step = 0; step < rowCount; ++step) {
        if (from != NoRow || step > 0) {
            if (forward) {
                if (row + 1 >= rowCount) {
                    row = 0;
                    wrapped = true;
                } else {
                    ++row;
                }
            } else {
                if (row == 0) {
                    row = rowCount - 1;
                    wrapped = true;
                } else {
                    --row;
                }
            }
        }
        if (RowMatches(lineAt(row))) {
            result.row = row;
            result.wrapped = wrapped;
            return result;
        }
    }
    return result;
}

FindResult LineFinder::Find(const LineStore& store, size_t from, FindDirection direction) const
{
    return Find(
        store.ShownCount(), [&store](size_t row) {  return store.ShownLine(row); }, from,
        direction);
}

std::vector<MatchSpan> LineFinder::Marks(std::string_view shownText) const
{
    if (!active_) {
        return {};
    }
    return pattern_.FindAll(shownText);
}
