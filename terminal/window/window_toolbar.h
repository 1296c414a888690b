// The toolbar in the filter box's row: Pause, Clear, Find and Capture OutputDebugString, each the
// menu command of the same id, in text drawn with the window's font for its DPI. Its tips name
// the command's key as the accelerator table gives it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// The toolbar, hidden until shown; NULL when it cannot be made.
HWND CreateToolbar(HWND frame, HINSTANCE instance);

// Draws the buttons' text in font (the window's for its DPI) and sizes them to it.
void SetToolbarFont(HWND toolbar, HFONT font);

// The button of command, if the toolbar has one, shows checked as the menu item does.
void ShowToolbarCheck(HWND toolbar, int command, bool checked);
void EnableToolbarButton(HWND toolbar, int command, bool enabled);

// The tip of command's button: its name, then the first key the accelerator table gives the
// command ("Pause (Ctrl+P)"); the name alone for a command without a key.
std::wstring ToolbarTip(HACCEL accelerators, int command);

// TBN_GETINFOTIPW from the toolbar: fills in the tip, bounded by the toolbar's buffer. False when
// header is another notification.
bool AnswerToolbarTip(HINSTANCE instance, NMHDR* header);
