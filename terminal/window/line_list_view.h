// The list of lines in the window: a virtual list view (it asks for the text of the rows it
// draws, so a hundred thousand lines cost no controls), coloured by class, separators as rules.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "line_find.h"
#include "line_rules.h"
#include "line_store.h"
#include "terminal_settings.h"
#include "time_column.h"
#include "window_theme.h"

// What the list draws from: the lines, their time column, the rules that colour them, the
// search whose matching rows are marked and the colours (never null).
struct LineListLook {
    const LineStore* store = nullptr;
    const TimeColumn* time = nullptr;
    const RuleSet* rules = nullptr;
    const LineFinder* finder = nullptr;
    // The line the search went to, by its number since the first line kept (dropped lines and
    // kept ones): its matches stand out from the others and from the selection.
    uint64_t currentFoundLine = static_cast<uint64_t>(-1);
    const Palette* palette = nullptr;
};

// Creates the list as a child of parent with the given control id, its columns sized for dpi.
HWND CreateLineList(HWND parent, int controlId, HINSTANCE instance, UINT dpi);

// Titles the time column with what it shows: the time of day (with the date), or the time since
// the start or the previous shown line.
void ShowTimeColumnTitle(HWND list, const TimeColumn& time);

// Resizes the time and class columns for a new DPI, keeping the widths the user gave them.
void RescaleLineListColumns(HWND list, UINT oldDpi, UINT newDpi);

// Shows store's lines again from scratch (after a clear, a drop, a filter change), the newest in view.
void ResetLineList(HWND list, const LineStore& store);

// Shows rows added at the end (the caller decides whether the view follows them).
void ExtendLineList(HWND list, const LineStore& store);

// Answers LVN_GETDISPINFOW, NM_CUSTOMDRAW and LVN_ODFINDITEMW (type-ahead) from the list; false for
// other notifications.
bool HandleLineListNotify(const NMHDR* header, const LineListLook& look, LRESULT* result);

// The text a row's time column shows.
std::string RowTimeText(const LineListLook& look, size_t row);

// The list's current column widths (time, class, text, process: ListColumnCount of them).
void GetLineListColumnWidths(HWND list, int* widths);
void SetLineListColumnWidths(HWND list, const int* widths);

// The selected rows as text, one output line each; empty when nothing is selected.
// textOnly: the text column's alone, one a line.
std::string SelectedLinesText(HWND list, const LineStore& store, bool textOnly = false);
