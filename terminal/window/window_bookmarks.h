// Bookmarks on lines of the view shown: Ctrl+F2 on the selected lines, F2 and Shift+F2 to the
// next and previous shown one. The store keeps them with their lines (LineStore::ToggleBookmark);
// saved and copied text does not carry them.
#pragma once

#include "window_state.h"

// Bookmarks every selected line, or, when all of them already are, takes their bookmarks away.
void ToggleSelectedBookmarks(TerminalWindow& t);

// Selects the nearest shown bookmarked line after the selected one (forward) or before it, going
// on from the other end; says so in the status bar when no shown line is bookmarked.
void GoToBookmark(TerminalWindow& t, bool forward);
