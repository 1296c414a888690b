// The window's two palettes, light and dark: every colour the list, the boxes, the status bar and
// the rows of each class are drawn with. The window picks one when the theme changes; what draws
// takes the colours from the palette it is given.
#pragma once

#include <windows.h>

#include <stdint.h>

struct ClassColours {
    COLORREF text;
    COLORREF background;
};

struct Palette {
    bool dark = false;
    COLORREF windowBack;  // the list's back and its rows' unless a class or a rule says otherwise
    COLORREF windowText;
    COLORREF headerBack;  // the list's column titles
    COLORREF headerText;
    COLORREF barBack;  // behind the filter and find bars' labels, and the status bar
    COLORREF barText;
    COLORREF boxBack;  // the filter and find boxes
    COLORREF boxText;
    COLORREF selectionBack;  // selected rows while the list has the focus
    COLORREF selectionText;
    COLORREF inactiveSelectionBack;  // and while it has not
    COLORREF inactiveSelectionText;
    // Debug lines take the window's colours.
    ClassColours log;
    ClassColours statistic;
    ClassColours error;
    ClassColours ods;
    COLORREF separatorTime;  // a separator row's time, and its rule
    COLORREF separatorRule;
    // Marks, 0xRRGGBB as rules give colours: a row holding the find text, each match in it, the
    // match Find went to, a bookmarked row.
    uint32_t findRowMark;
    uint32_t findMatch;
    uint32_t findCurrentMatch;
    uint32_t bookmarkMark;
};

// Light takes the system's window colours, as the list did before it had a theme.
Palette LightPalette();
Palette DarkPalette();

// A highlight rule's colour as a row's background: as given in the light palette, toned down
// toward the window's back in the dark one so that a pale rule colour does not glare.
uint32_t HighlightBackground(const Palette& palette, uint32_t ruleColour);

COLORREF ColourOfRrggbb(uint32_t rrggbb);
