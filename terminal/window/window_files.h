// The window's files: Save of the shown lines, a log opened (File > Open or a drop) and the way
// back to the live lines, rule sets exported and imported.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "window_state.h"

// File > Save: the shown lines of the shown view, written on a thread of their own.
void SaveShown(TerminalWindow& t);
// A save has ended (SavedMessage): says so, or shows the error.
void ReportSaved(TerminalWindow& t, DWORD error, size_t lineCount);
// Reads a log on a thread of its own into a view of its own, shown in place of the live lines
// (which go on arriving) as it fills; a file that is not a log is refused in a message box and
// the view stays as it was. A member of a rotated set is read with the older members before it
// (for the newest, NAME, when the user chooses so); JSON lines are read as well as text.
void OpenLog(TerminalWindow& t, const std::wstring& path);
// On every timer tick: stores what the read has brought, for a bounded time; says how it ended.
void ContinueReading(TerminalWindow& t);
// File > Stop reading, Esc: the read ends after the piece under way; what it read stays.
void StopReading(TerminalWindow& t);
// Shows the live lines again, following.
void BackToLive(TerminalWindow& t);
// WM_DROPFILES: opens the first file dropped.
void OnDropFiles(TerminalWindow& t, HDROP drop);
// File > Import rules, File > Export rules.
void ImportRules(TerminalWindow& t);
void ExportRules(TerminalWindow& t);
