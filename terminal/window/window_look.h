// How the window looks: the list's font (View > Font..., the zoom keys) and the theme (View >
// Theme), applied to every control, and the messages through which controls ask for colours.
#pragma once

#include <windows.h>

#include "window_state.h"

// View > Font..., the zoom commands and View > Theme. False when command is not one of them.
bool OnLookCommand(TerminalWindow& t, int command);

// The list's font as chosen, shown at points (zoomed), rows following its height.
void UseListFont(TerminalWindow& t, const ListFontSetting& font, int points);

// Follows choice from now on (the system's app mode while it is System).
void SetTheme(TerminalWindow& t, ThemeChoice choice);

// WM_SETTINGCHANGE: a change of the system's app mode is followed while the theme is System.
void OnSettingChange(TerminalWindow& t, LPARAM lParam);

// WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC for the boxes and labels, WM_ERASEBKGND for the frame
// behind them, WM_DRAWITEM for the status bar: true with *result when the theme answered (dark);
// false for the system's own drawing.
bool ControlColours(TerminalWindow& t, UINT message, HDC dc, HWND control, LRESULT* result);
bool EraseFrame(TerminalWindow& t, HDC dc);
bool DrawStatus(TerminalWindow& t, const DRAWITEMSTRUCT* item);

// Puts t.status.text in the status bar, drawn in the theme's colours.
void ShowStatusText(TerminalWindow& t);

// Gives back what the theme holds, after the frame is gone.
void EndLook(TerminalWindow& t);
