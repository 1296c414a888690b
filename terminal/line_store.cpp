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
    if (filter_.Shows(line.lineClass)) {
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

const ReceivedLine& LineStore::ShownLine(size_t row) const
{
    return lines_[shown_[row]];
}

void LineStore::DropOldest(size_t count)
{
    count = std::min(count, lines_.size());
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(count));
    dropped_ += count;
    RebuildShown();
}

void LineStore::RebuildShown()
{
    shown_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (filter_.Shows(lines_[i].lineClass)) {
            shown_.push_back(i);
        }
    }
}
