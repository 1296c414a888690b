// The window's controls and where they go: the filter box and the toolbar above the list, the find bar below
// it, the status bar at the bottom, their fonts for the window's DPI, and the window's first size.
#pragma once

#include <windows.h>

#include "dpi_scaling.h"
#include "terminal_settings.h"

// The window's first size at 100 %; at other DPIs it is scaled, and cut to the work area.
constexpr int DesignWindowWidth = 900;
constexpr int DesignWindowHeight = 520;

struct WindowControls {
    HWND frame = NULL;
    HWND list = NULL;
    HWND status = NULL;
    HWND quickLabel = NULL;
    HWND quickEdit = NULL;
    HWND findLabel = NULL;
    HWND findEdit = NULL;
    HWND findCase = NULL;
    HWND findRegex = NULL;
    HWND findCount = NULL;  // "12 of 340"
    HWND findClose = NULL;
    bool findShown = false;
    HWND toolbar = NULL;  // beside the filter box, in its row
    bool toolbarShown = false;
    UINT dpi = DesignDpi;
    // While a remembered place is put back: its size was saved on its own monitor, in that
    // monitor's pixels, so a change of DPI on the way there must not scale it again.
    bool restoringPlace = false;
    HFONT listFont = NULL;
    HFONT statusFont = NULL;
    // The list's font as chosen, and the size it is shown at (zoomed), in points: a change of DPI
    // makes the font again at the same points.
    ListFontSetting listFontChosen;
    int listFontPoints = DefaultFontPoints;
};

// The filter box and the find bar (hidden) with their labels; false when one cannot be made.
bool CreateBars(WindowControls& t, HINSTANCE instance);

// Places every control in the frame's client area; the text column takes the width left.
void Layout(const WindowControls& t);

// View > Toolbar: shows or hides the toolbar (the filter box keeps its row).
void ShowToolbar(WindowControls& t, HMENU menu, bool shown);

// Gives the list, the status bar, the bars and the toolbar their fonts for t.dpi.
void SetFontsForDpi(WindowControls& t);

// The window moved to a monitor of another DPI (or that monitor's scale changed).
void OnDpiChanged(WindowControls& t, UINT dpi, const RECT& suggested);

// A window whose title bar is on no monitor (the monitor it was on is gone or moved) cannot be
// dragged back: it goes into the nearest monitor's work area, its size kept where it fits.
void BringTitleBarOnScreen(const WindowControls& t);

// The first size, for the DPI of the monitor the window was placed on.
void SizeForDpi(const WindowControls& t);
