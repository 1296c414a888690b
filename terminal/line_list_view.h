// The list of lines in the window: a virtual list view (it asks for the text of the rows it
// draws, so a hundred thousand lines cost no controls), coloured by class, separators as rules.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "line_store.h"

// Creates the list as a child of parent with the given control id, its columns sized for dpi.
HWND CreateLineList(HWND parent, int controlId, HINSTANCE instance, UINT dpi);

// Resizes the time and class columns for a new DPI, keeping the widths the user gave them.
void RescaleLineListColumns(HWND list, UINT oldDpi, UINT newDpi);

// Shows store's lines again from scratch (after a clear, a drop, a filter change).
void ResetLineList(HWND list, const LineStore& store);

// Shows rows added at the end; keeps the newest row in view when the user was looking at the end.
void ExtendLineList(HWND list, const LineStore& store);

// Answers LVN_GETDISPINFOW and NM_CUSTOMDRAW from the list; false for other notifications.
bool HandleLineListNotify(const NMHDR* header, const LineStore& store, LRESULT* result);

// The selected rows as text, one output line each; empty when nothing is selected.
std::string SelectedLinesText(HWND list, const LineStore& store);
