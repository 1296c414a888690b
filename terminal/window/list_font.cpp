#include "list_font.h"

#include <commdlg.h>

#include "wide_text.h"

namespace {

constexpr int PointsPerInch = 72;
// The dialog gives sizes in tenths of a point.
constexpr int DialogTenths = 10;
// The sizes zooming goes through; a chosen size between two goes to the next.
constexpr int ZoomSteps[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 32, 36, 40, 44, 48};

LOGFONTW LogFontOf(const ListFontSetting& font, int points, int pixelsPerInch)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = -MulDiv(points, pixelsPerInch, PointsPerInch);
    logFont.lfWeight = font.weight;
    logFont.lfItalic = font.italic ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = CLEARTYPE_QUALITY;
    // Asked for as fixed pitch, so that a missing face is mapped to one that is.
    logFont.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(logFont.lfFaceName, Utf8ToWide(font.face).c_str(), LF_FACESIZE);
    return logFont;
}

int ScreenPixelsPerInch()
{
    HDC screen = GetDC(NULL);
    int dpi = screen != NULL ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != NULL) {
        ReleaseDC(NULL, screen);
    }
    return dpi > 0 ? dpi : PointsPerInch;
}

} // namespace

HFONT CreateListFont(const ListFontSetting& font, int points, UINT dpi)
{
    LOGFONTW logFont = LogFontOf(font, points, static_cast<int>(dpi));
    return CreateFontIndirectW(&logFont);
}

int ZoomedIn(int points)
{
    for (int step : ZoomSteps) {
        if (step > points) {
            return step;
        }
    }
    return MaxFontPoints;
}

int ZoomedOut(int points)
{
    int smaller = MinFontPoints;
    for (int step : ZoomSteps) {
        if (step < points) {
            smaller = step;
        }
    }
    return smaller;
}

bool ChooseListFont(HWND owner, ListFontSetting* font)
{
    // The dialog reads and gives heights in the screen's pixels.
    LOGFONTW logFont = LogFontOf(*font, font->points, ScreenPixelsPerInch());
    CHOOSEFONTW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &logFont;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS | CF_LIMITSIZE;
    dialog.nSizeMin = MinFontPoints;
    dialog.nSizeMax = MaxFontPoints;
    if (!ChooseFontW(&dialog) || logFont.lfFaceName[0] == L'\0') {
        return false;
    }
    ListFontSetting chosen;
    chosen.face = WideToUtf8(logFont.lfFaceName);
    int points = (dialog.iPointSize + DialogTenths / 2) / DialogTenths;
    chosen.points = points < MinFontPoints ? MinFontPoints : (points > MaxFontPoints ? MaxFontPoints : points);
    chosen.weight = logFont.lfWeight > 0 && logFont.lfWeight <= MaxFontWeight ? logFont.lfWeight : NormalFontWeight;
    chosen.italic = logFont.lfItalic != FALSE;
    *font = chosen;
    return true;
}
