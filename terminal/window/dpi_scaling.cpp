#include "dpi_scaling.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

template <typename Function>
Function User32Function(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT SystemDpi()
{
    HDC screen = GetDC(NULL);
    int dpi = screen != NULL ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != NULL) {
        ReleaseDC(NULL, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : DesignDpi;
}

// The system's parameters for dpi; where only the system DPI's are to be had, their font
// heights are rescaled.
bool ParametersForDpi(UINT action, UINT size, void* parameters, UINT dpi, LOGFONTW* font)
{
    static const auto forDpi = User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    if (forDpi != NULL) {
        return forDpi(action, size, parameters, 0, dpi) != FALSE;
    }
    if (!SystemParametersInfoW(action, size, parameters, 0)) {
        return false;
    }
    font->lfHeight = MulDiv(font->lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return true;
}

} // namespace

UINT DpiOfWindow(HWND window)
{
    static const auto forWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    UINT dpi = forWindow != NULL ? forWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

int ScaledForDpi(int designPixels, UINT dpi)
{
    return MulDiv(designPixels, static_cast<int>(dpi), static_cast<int>(DesignDpi));
}

int SystemMetricForDpi(int index, UINT dpi)
{
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi != NULL) {
        return forDpi(index, dpi);
    }
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

HFONT CreateStatusFontForDpi(UINT dpi)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!ParametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, dpi, &metrics.lfStatusFont)) {
        return NULL;
    }
    return CreateFontIndirectW(&metrics.lfStatusFont);
}
