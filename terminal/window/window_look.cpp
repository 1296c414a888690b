#include "window_look.h"

#include <commctrl.h>

#include "list_font.h"
#include "system_theme.h"
#include "terminal_resource_ids.h"
#include "window_layout.h"

namespace {

// The list's own procedure, which the header's drawing in the dark palette goes around.
constexpr wchar_t ListProcedureProperty[] = L"VornakListProcedure";
constexpr wchar_t ListPaletteProperty[] = L"VornakListPalette";
// A header title's indent, at 100 %.
constexpr int HeaderTextIndent = 6;

void FillWith(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// The column titles in the dark palette: each title on the header's back with a rule at its
// right, and the header's end beyond the last column.
LRESULT DrawHeader(HWND header, NMCUSTOMDRAW* draw, const Palette& palette)
{
    switch (draw->dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT: {
        RECT cell = draw->rc;
        FillWith(draw->hdc, cell, palette.headerBack);
        RECT rule = {cell.right - 1, cell.top, cell.right, cell.bottom};
        FillWith(draw->hdc, rule, palette.separatorRule);
        wchar_t title[64] = L"";
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = 64;
        SendMessageW(header, HDM_GETITEMW, draw->dwItemSpec, reinterpret_cast<LPARAM>(&item));
        cell.left += MulDiv(HeaderTextIndent, static_cast<int>(DpiOfWindow(header)), static_cast<int>(DesignDpi));
        SetBkMode(draw->hdc, TRANSPARENT);
        SetTextColor(draw->hdc, palette.headerText);
        DrawTextW(draw->hdc, title, -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        return CDRF_SKIPDEFAULT;
    }
    case CDDS_POSTPAINT: {
        RECT client;
        GetClientRect(header, &client);
        int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            RECT cell = {};
            SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&cell));
            client.left = cell.right > client.left ? cell.right : client.left;
        }
        FillWith(draw->hdc, client, palette.headerBack);
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

// The list, between its header and its own procedure: the header's custom draw goes to the
// list, not to the frame.
LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropW(list, ListProcedureProperty));
    const Palette* palette = static_cast<const Palette*>(GetPropW(list, ListPaletteProperty));
    if (message == WM_NOTIFY && palette != nullptr && palette->dark) {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == NM_CUSTOMDRAW && header->hwndFrom == ListView_GetHeader(list)) {
            return DrawHeader(header->hwndFrom, reinterpret_cast<NMCUSTOMDRAW*>(header), *palette);
        }
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(list, ListProcedureProperty);
        RemovePropW(list, ListPaletteProperty);
    }
    return CallWindowProcW(original, list, message, wParam, lParam);
}

void WatchListHeader(TerminalWindow& t)
{
    SetPropW(t.ui.list, ListPaletteProperty, &t.look.palette);
    if (GetPropW(t.ui.list, ListProcedureProperty) == NULL) {
        LONG_PTR original = SetWindowLongPtrW(t.ui.list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProcedure));
        SetPropW(t.ui.list, ListProcedureProperty, reinterpret_cast<HANDLE>(original));
    }
}

void ReplaceBrush(HBRUSH* brush, COLORREF colour)
{
    if (*brush != NULL) {
        DeleteObject(*brush);
    }
    *brush = CreateSolidBrush(colour);
}

bool ThemeIsDark(ThemeChoice choice)
{
    return choice == ThemeChoice::Dark || (choice == ThemeChoice::System && SystemAppsUseDarkTheme());
}

// Takes the palette of the theme now and gives its colours to every control.
void ApplyTheme(TerminalWindow& t)
{
    bool dark = ThemeIsDark(t.look.choice);
    t.look.palette = dark ? DarkPalette() : LightPalette();
    const Palette& palette = t.look.palette;
    ReplaceBrush(&t.look.barBrush, palette.barBack);
    ReplaceBrush(&t.look.boxBrush, palette.boxBack);
    WatchListHeader(t);
    ListView_SetBkColor(t.ui.list, palette.windowBack);
    ListView_SetTextBkColor(t.ui.list, palette.windowBack);
    ListView_SetTextColor(t.ui.list, palette.windowText);
    // A themed status bar draws its own back whatever it is given.
    UsePlainControlStyle(t.ui.status, dark);
    SendMessageW(t.ui.status, SB_SETBKCOLOR, 0, static_cast<LPARAM>(dark ? palette.barBack : CLR_DEFAULT));
    ShowStatusText(t);
    if (dark != t.look.titleBarDark) {
        // Light never asks: the title bar stays as the system draws it.
        UseDarkTitleBar(t.ui.frame, dark);
        t.look.titleBarDark = dark;
    }
    RedrawWindow(t.ui.frame, NULL, NULL, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// The widest a time and a class can be, which the first two columns are made room for in the
// list's font; wider columns the user chose stay.
constexpr wchar_t WidestTime[] = L"00:00:00.000";
constexpr wchar_t WidestDateAndTime[] = L"0000-00-00 00:00:00.000";
constexpr wchar_t WidestClass[] = L"statistic";
constexpr int CellMargin = 16;  // at 100 %, both sides of a cell's text

void FitFixedColumns(TerminalWindow& t)
{
    const wchar_t* time = t.live.view.time.ShowsDates() ? WidestDateAndTime : WidestTime;
    const wchar_t* widest[] = {time, WidestClass};
    for (int column = 0; column < 2; ++column) {
        int needed = ListView_GetStringWidth(t.ui.list, widest[column]) +
                     MulDiv(CellMargin, static_cast<int>(t.ui.dpi), static_cast<int>(DesignDpi));
        if (ListView_GetColumnWidth(t.ui.list, column) < needed) {
            ListView_SetColumnWidth(t.ui.list, column, needed);
        }
    }
}

void Zoom(TerminalWindow& t, int points)
{
    UseListFont(t, t.ui.listFontChosen, points);
}

} // namespace

void UseListFont(TerminalWindow& t, const ListFontSetting& font, int points)
{
    t.ui.listFontChosen = font;
    t.ui.listFontPoints = points < MinFontPoints ? MinFontPoints : (points > MaxFontPoints ? MaxFontPoints : points);
    SetFontsForDpi(t.ui);
    FitFixedColumns(t);
    Layout(t.ui);
    InvalidateRect(t.ui.list, NULL, TRUE);
}

void SetTheme(TerminalWindow& t, ThemeChoice choice)
{
    t.look.choice = choice;
    CheckMenuRadioItem(t.menu, THEME_SYSTEM_COMMAND, THEME_DARK_COMMAND,
                       THEME_SYSTEM_COMMAND + static_cast<int>(choice), MF_BYCOMMAND);
    ApplyTheme(t);
}

void OnSettingChange(TerminalWindow& t, LPARAM lParam)
{
    if (t.look.choice == ThemeChoice::System && IsAppModeChange(lParam)) {
        ApplyTheme(t);
    }
}

bool OnLookCommand(TerminalWindow& t, int command)
{
    switch (command) {
    case FONT_COMMAND: {
        ListFontSetting font = t.ui.listFontChosen;
        if (ChooseListFont(t.ui.frame, &font)) {
            UseListFont(t, font, font.points);  // a new font is shown at its own size
        }
        return true;
    }
    case ZOOM_IN_COMMAND: Zoom(t, ZoomedIn(t.ui.listFontPoints)); return true;
    case ZOOM_OUT_COMMAND: Zoom(t, ZoomedOut(t.ui.listFontPoints)); return true;
    case ZOOM_RESET_COMMAND: Zoom(t, t.ui.listFontChosen.points); return true;
    case THEME_SYSTEM_COMMAND: SetTheme(t, ThemeChoice::System); return true;
    case THEME_LIGHT_COMMAND: SetTheme(t, ThemeChoice::Light); return true;
    case THEME_DARK_COMMAND: SetTheme(t, ThemeChoice::Dark); return true;
    default:
        return false;
    }
}

bool ControlColours(TerminalWindow& t, UINT message, HDC dc, HWND control, LRESULT* result)
{
    const Palette& palette = t.look.palette;
    if (!palette.dark) {
        return false;
    }
    bool box = message == WM_CTLCOLOREDIT && (control == t.ui.quickEdit || control == t.ui.findEdit);
    bool label = message == WM_CTLCOLORSTATIC && (control == t.ui.quickLabel || control == t.ui.findLabel);
    if (!box && !label) {
        return false;
    }
    SetTextColor(dc, box ? palette.boxText : palette.barText);
    SetBkColor(dc, box ? palette.boxBack : palette.barBack);
    *result = reinterpret_cast<LRESULT>(box ? t.look.boxBrush : t.look.barBrush);
    return true;
}

bool EraseFrame(TerminalWindow& t, HDC dc)
{
    if (!t.look.palette.dark) {
        return false;
    }
    RECT client;
    GetClientRect(t.ui.frame, &client);
    FillRect(dc, &client, t.look.barBrush);
    return true;
}

bool DrawStatus(TerminalWindow& t, const DRAWITEMSTRUCT* item)
{
    if (item->hwndItem != t.ui.status || !t.look.palette.dark) {
        return false;
    }
    RECT text = item->rcItem;
    text.left += MulDiv(HeaderTextIndent, static_cast<int>(t.ui.dpi), static_cast<int>(DesignDpi));
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, t.look.palette.barText);
    DrawTextW(item->hDC, t.status.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    return true;
}

void ShowStatusText(TerminalWindow& t)
{
    // The status bar draws its own text in the system's colour only: dark, the window draws it.
    WPARAM how = t.look.palette.dark ? SBT_OWNERDRAW : 0;
    SendMessageW(t.ui.status, SB_SETTEXTW, how, reinterpret_cast<LPARAM>(t.status.text.c_str()));
}

void EndLook(TerminalWindow& t)
{
    for (HBRUSH* brush : {&t.look.barBrush, &t.look.boxBrush}) {
        if (*brush != NULL) {
            DeleteObject(*brush);
            *brush = NULL;
        }
    }
}
