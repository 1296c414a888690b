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
    if (Shows(line)) {
        shown_.push_back(lines_.size());
    }
    lines_.push_back(std::move(line));
    return moved;
}

void LineStore::Clear()
{
    lines_.clear();
    shown_.clear();
}

void LineStore::SetFilter(const ClassFilter& filter)
{
    filter_ = filter;
    RebuildShown();
}

void LineStore::SetLineTest(std::function<bool(const ReceivedLine&)> test)
{
    test_ = std::move(test);
    RebuildShown();
}

bool LineStore::Shows(const ReceivedLine& line) const
{
    return filter_.Shows(line.lineClass) && (!test_ || test_(line));
}

const ReceivedLine& LineStore::ShownLine(size_t row) const
{
    return lines_[shown_[row]];
}

void LineStore::DropOldest(size_t count)
{
    count = std::min(count, lines_.size());
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(count));
    dropped_ += count;
    // The rows left keep their verdicts: only their positions move (the test may be costly).
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
        if (Shows(lines_[i])) {
            shown_.push_back(i);
        }
    }
}
