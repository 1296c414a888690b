// The list's font: made for a size in points at the window's DPI (so a change of DPI keeps the
// points), zoomed in steps, and chosen in the system's font dialog.
#pragma once

#include <windows.h>

#include "terminal_settings.h"

// font at points (the zoomed size, not font.points) for dpi. A face the system lacks (Consolas
// under Wine) is replaced by the font mapper with a fixed-pitch one. NULL on failure; free with
// DeleteObject.
HFONT CreateListFont(const ListFontSetting& font, int points, UINT dpi);

// The next size up or down from points, within MinFontPoints and MaxFontPoints.
int ZoomedIn(int points);
int ZoomedOut(int points);

// View > Font...: the font dialog, starting from *font; true with *font changed when the user
// chose one.
bool ChooseListFont(HWND owner, ListFontSetting* font);
