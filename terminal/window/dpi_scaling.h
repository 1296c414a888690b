// The window's fixed sizes follow the DPI of the monitor it is on: the program declares itself
// per-monitor DPI aware, so the system no longer stretches its drawing (which blurs it) and
// leaves the scaling to the program. The functions for a window's own DPI came with Windows 10
// version 1607; they are looked up at run time so that the program still starts on older
// systems, which then get the system DPI.
#pragma once

#include <windows.h>

// The DPI that the fixed sizes in the code are given for (100 %).
constexpr UINT DesignDpi = 96;

UINT DpiOfWindow(HWND window);

// A size given at DesignDpi, for dpi.
int ScaledForDpi(int designPixels, UINT dpi);

// GetSystemMetrics for dpi.
int SystemMetricForDpi(int index, UINT dpi);

// The font status bars use by default, for dpi. NULL on failure; free with DeleteObject.
HFONT CreateStatusFontForDpi(UINT dpi);
