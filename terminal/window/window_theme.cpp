#include "window_theme.h"

#include <initializer_list>

namespace {

// Of a highlight rule's colour, this many parts in 256 are kept in the dark palette.
constexpr unsigned DarkHighlightShare = 96;

uint32_t Rrggbb(COLORREF colour)
{
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (static_cast<uint32_t>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

} // namespace

COLORREF ColourOfRrggbb(uint32_t rrggbb)
{
    return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

Palette LightPalette()
{
    Palette p;
    p.dark = false;
    p.windowBack = GetSysColor(COLOR_WINDOW);
    p.windowText = GetSysColor(COLOR_WINDOWTEXT);
    p.headerBack = GetSysColor(COLOR_BTNFACE);
    p.headerText = GetSysColor(COLOR_BTNTEXT);
    p.barBack = GetSysColor(COLOR_BTNFACE);
    p.barText = GetSysColor(COLOR_BTNTEXT);
    p.boxBack = GetSysColor(COLOR_WINDOW);
    p.boxText = GetSysColor(COLOR_WINDOWTEXT);
    p.selectionBack = GetSysColor(COLOR_HIGHLIGHT);
    p.selectionText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    p.inactiveSelectionBack = GetSysColor(COLOR_BTNFACE);
    p.inactiveSelectionText = GetSysColor(COLOR_WINDOWTEXT);
    p.log = {RGB(0, 96, 0), p.windowBack};
    p.statistic = {RGB(0, 70, 150), RGB(226, 236, 255)};
    p.error = {RGB(170, 0, 0), RGB(255, 228, 228)};
    p.ods = {RGB(92, 52, 140), p.windowBack};
    p.separatorTime = GetSysColor(COLOR_GRAYTEXT);
    p.separatorRule = GetSysColor(COLOR_BTNSHADOW);
    p.findRowMark = 0xFFB366;
    p.findMatch = 0xE06A00;
    p.findCurrentMatch = 0xFFE135;
    p.bookmarkMark = 0x3D7DD8;
    return p;
}

Palette DarkPalette()
{
    Palette p;
    p.dark = true;
    p.windowBack = RGB(30, 30, 30);
    p.windowText = RGB(220, 220, 220);
    p.headerBack = RGB(43, 43, 43);
    p.headerText = RGB(220, 220, 220);
    p.barBack = RGB(43, 43, 43);
    p.barText = RGB(220, 220, 220);
    p.boxBack = RGB(20, 20, 20);
    p.boxText = RGB(230, 230, 230);
    p.selectionBack = RGB(38, 79, 120);
    p.selectionText = RGB(255, 255, 255);
    p.inactiveSelectionBack = RGB(64, 64, 64);
    p.inactiveSelectionText = RGB(230, 230, 230);
    p.log = {RGB(120, 200, 120), p.windowBack};
    p.statistic = {RGB(140, 190, 255), RGB(26, 42, 66)};
    p.error = {RGB(255, 140, 140), RGB(72, 24, 24)};
    p.ods = {RGB(196, 160, 250), p.windowBack};
    p.separatorTime = RGB(140, 140, 140);
    p.separatorRule = RGB(100, 100, 100);
    p.findRowMark = 0x6B4A1E;
    p.findMatch = 0xC06000;
    p.findCurrentMatch = 0xD8BC20;
    p.bookmarkMark = 0x4A8AE8;
    return p;
}

uint32_t HighlightBackground(const Palette& palette, uint32_t ruleColour)
{
    if (!palette.dark) {
        return ruleColour;
    }
    uint32_t back = Rrggbb(palette.windowBack);
    uint32_t mixed = 0;
    for (int shift : {16, 8, 0}) {
        uint32_t rule = (ruleColour >> shift) & 0xFF;
        uint32_t window = (back >> shift) & 0xFF;
        mixed |= ((rule * DarkHighlightShare + window * (256 - DarkHighlightShare)) / 256) << shift;
    }
    return mixed;
}
