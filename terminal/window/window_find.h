// The find bar (Ctrl+F): a search among the shown lines as typed, with match case and regular
// expression as options, F3 and Shift+F3, and "12 of 340" beside the box, counted a slice a tick.
#pragma once

#include "line_find.h"
#include "window_state.h"

void ShowFindBar(TerminalWindow& t, bool shown);
// The box's text or an option changed: searches again from the row found so far.
void OnFindTextChanged(TerminalWindow& t);
// The options as the window starts (remembered) or as the user sets them: boxes and menu agree.
void SetFindOptions(TerminalWindow& t, bool matchCase, bool regularExpression);
// Alt+C and Alt+R, and the bar's boxes: option is FIND_MATCH_CASE_CHECK or FIND_REGEX_CHECK;
// fromKey: the key (or the menu) rather than the box itself changed it.
void OnFindOption(TerminalWindow& t, int option, bool fromKey);
// The nearest matching row after the selected one (before it), going on from the other end.
// fromSelected: the selected row itself may be it (typing searches again from the row found).
void Find(TerminalWindow& t, FindDirection direction, bool fromSelected);
// Counts matches among rows not looked at yet for a share of a tick, and says the count.
void ContinueCountingMatches(TerminalWindow& t);
