#include "window_bookmarks.h"

#include <commctrl.h>

#include <vector>

#include "terminal_texts.h"

namespace {

std::vector<size_t> SelectedKeptLines(TerminalWindow& t)
{
    const LineStore& store = ShownView(t).store;
    std::vector<size_t> kept;
    for (int row = ListView_GetNextItem(t.ui.list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(t.ui.list, row, LVNI_SELECTED)) {
        if (static_cast<size_t>(row) < store.ShownCount()) {
            kept.push_back(store.KeptIndexOfShown(static_cast<size_t>(row)));
        }
    }
    return kept;
}

} // namespace

void ToggleSelectedBookmarks(TerminalWindow& t)
{
    LineStore& store = ShownView(t).store;
    std::vector<size_t> kept = SelectedKeptLines(t);
    bool allMarked = !kept.empty();
    for (size_t index : kept) {
        allMarked = allMarked && store.Bookmarked(index);
    }
    for (size_t index : kept) {
        if (store.Bookmarked(index) == allMarked) {
            store.ToggleBookmark(index);
        }
    }
    InvalidateRect(t.ui.list, NULL, FALSE);
    UpdateStatus(t);
}

void GoToBookmark(TerminalWindow& t, bool forward)
{
    const LineStore& store = ShownView(t).store;
    int selected = ListView_GetNextItem(t.ui.list, -1, LVNI_SELECTED);
    size_t row = store.NearestBookmarkedRow(selected < 0 ? NoShownRow : static_cast<size_t>(selected), forward);
    if (row == NoShownRow) {
        t.status.notice = store.BookmarkCount() == 0 ? NoBookmarks : NoBookmarksShown;
        MessageBeep(MB_ICONWARNING);
        UpdateStatus(t);
        return;
    }
    if (!t.opened.IsOpen()) {
        t.follow.Handle(FollowEvent::LineSelected);
    }
    SelectRowInMiddle(t, static_cast<int>(row));
    UpdateStatus(t);
}
