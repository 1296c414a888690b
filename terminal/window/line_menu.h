// The list's right-click menu, and its commands that make a rule from the selected line.
#pragma once

#include <windows.h>

#include "window_state.h"

// at: where the menu was asked for, in screen coordinates; -1 from the keyboard (the
// context-menu key, Shift+F10), which puts it at the selected row.
void ShowLineMenu(TerminalWindow& t, LPARAM at);

// Opens the rules dialog with a rule of kind for the selected line's text put first, to adjust;
// the rules change only when the dialog's OK is chosen.
void AdjustRuleLikeSelected(TerminalWindow& t, RuleKind kind);

// Put first an include rule for the lines of the selected line's task (its name before " : "), or
// of the program that wrote it (an ods line's writer).
void FilterBySelectedTask(TerminalWindow& t);
void FilterBySelectedProcess(TerminalWindow& t);
