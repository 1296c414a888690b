#include "line_store.h"

#include <algorithm>

bool ClassFilter::Shows(LineClass lineClass) const
{
    int index = static_cast<int>(lineClass);
    return index < ShownClassCount && shown[index];
}

LineStore::LineStore(size_t capacity, size_t dropBlock)
    : capacity_(capacity), dropBlock_(std::max<size_t>(1, std::min(dropBlock, capacity)))
{
}

bool LineStore::Append(ReceivedLine&& line)
{
    if (line.lineClass == LineClass::ClearMarker) {
        Clear();
        return true;
    }
    bool moved = false;
    if (lines_.size() >= capacity_) {
        DropOldest(dropBlock_);
        moved = true;
    }
    LineMark mark = Judged(line);
    if (Shows(line, mark)) {
        shown_.push_back(lines_.size());
    }
    lines_.push_back(std::move(line));
    marks_.push_back(mark);
    return moved;
}

void LineStore::Clear()
{
    lines_.clear();
    marks_.clear();
    shown_.clear();
}

void LineStore::SetFilter(const ClassFilter& filter)
{
    filter_ = filter;
    RebuildShown();
}

void LineStore::SetJudge(std::function<LineMark(const ReceivedLine&)> judge)
{
    judge_ = std::move(judge);
    for (size_t i = 0; i < lines_.size(); ++i) {
        marks_[i] = Judged(lines_[i]);
    }
    RebuildShown();
}

LineMark LineStore::Judged(const ReceivedLine& line) const
{
    return judge_ ? judge_(line) : 0;
}

bool LineStore::Shows(const ReceivedLine& line, LineMark mark) const
{
    return filter_.Shows(line.lineClass) && (mark & HiddenByRules) == 0;
}

const ReceivedLine& LineStore::ShownLine(size_t row) const
{
    return lines_[shown_[row]];
}

size_t LineStore::ShownRowAtOrBefore(size_t index) const
{
    auto after = std::upper_bound(shown_.begin(), shown_.end(), index);
    return after == shown_.begin() ? NoShownRow : static_cast<size_t>(after - shown_.begin()) - 1;
}

LineMark LineStore::ShownMark(size_t row) const
{
    return marks_[shown_[row]];
}

void LineStore::DropOldest(size_t count)
{
    count = std::min(count, lines_.size());
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(count));
    marks_.erase(marks_.begin(), marks_.begin() + static_cast<std::ptrdiff_t>(count));
    dropped_ += count;
    // The rows left keep their marks: only their positions move.
    auto kept = std::lower_bound(shown_.begin(), shown_.end(), count);
    droppedShown_ += static_cast<uint64_t>(kept - shown_.begin());
    shown_.erase(shown_.begin(), kept);
    for (size_t& position : shown_) {
        position -= count;
    }
}

void LineStore::RebuildShown()
{
    shown_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (Shows(lines_[i], marks_[i])) {
            shown_.push_back(i);
        }
    }
}
