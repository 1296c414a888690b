#include "found_rows.h"

#include <algorithm>

void FoundRows::Restart()
{
    rows_.clear();
    looked_ = 0;
    store_ = nullptr;
}

bool FoundRows::CountSome(const LineFinder& finder, const LineStore& store, size_t rows)
{
    // Rows shown before a drop or a new filter are other rows now.
    if (store_ != &store || dropped_ != store.DroppedCount() || looked_ > store.ShownCount()) {
        Restart();
        store_ = &store;
        dropped_ = store.DroppedCount();
    }
    if (!finder.Active()) {
        looked_ = store.ShownCount();
        return true;
    }
    for (; looked_ < store.ShownCount() && rows != 0; ++looked_, --rows) {
        if (finder.RowMatches(store.ShownLine(looked_))) {
            rows_.push_back(static_cast<uint32_t>(looked_));
        }
    }
    return Complete(store);
}

bool FoundRows::Complete(const LineStore& store) const
{
    return store_ == &store && dropped_ == store.DroppedCount() && looked_ == store.ShownCount();
}

size_t FoundRows::Position(size_t row) const
{
    auto at = std::lower_bound(rows_.begin(), rows_.end(), row);
    return at != rows_.end() && *at == row ? static_cast<size_t>(at - rows_.begin()) + 1 : 0;
}
