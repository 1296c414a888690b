#include "window_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "dpi_scaling.h"
#include "line_list_view.h"
#include "list_font.h"
#include "terminal_resource_ids.h"
#include "terminal_texts.h"
#include "window_toolbar.h"

namespace {

// Space beside the text column at 100 %, and the narrowest it is made.
constexpr int TextColumnSlack = 4;
constexpr int NarrowestTextColumn = 100;
// The bars above and below the list, at 100 %: their height, margins, label and box widths.
constexpr int BarHeight = 26;
constexpr int BarMargin = 4;
constexpr int BarLabelWidth = 40;
constexpr int QuickFilterWidth = 320;
constexpr int FindBoxWidth = 260;
constexpr int FindCloseWidth = 24;
constexpr int FindCaseWidth = 96;
constexpr int FindRegexWidth = 136;
constexpr int FindCountWidth = 150;

// The bars' controls: a label and a box, and for the find bar a close button.
HWND CreateChild(WindowControls& t, HINSTANCE instance, const wchar_t* className, const wchar_t* text, DWORD style,
                 DWORD exStyle, int id)
{
    return CreateWindowExW(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, t.frame,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, NULL);
}

// A label, a box and (when given) a button in a row at top.
void PlaceBar(const WindowControls& t, HWND label, HWND box, HWND button, int boxWidth, int top)
{
    int margin = ScaledForDpi(BarMargin, t.dpi);
    int height = ScaledForDpi(BarHeight, t.dpi) - 2 * margin;
    int x = margin;
    MoveWindow(label, x, top + margin, ScaledForDpi(BarLabelWidth, t.dpi), height, TRUE);
    x += ScaledForDpi(BarLabelWidth, t.dpi);
    MoveWindow(box, x, top + margin, ScaledForDpi(boxWidth, t.dpi), height, TRUE);
    x += ScaledForDpi(boxWidth, t.dpi) + margin;
    if (button != NULL) {
        MoveWindow(button, x, top + margin, ScaledForDpi(FindCloseWidth, t.dpi), height, TRUE);
    }
}

// The find bar: its label, box and close button, then the options and the count after them.
void PlaceFindBar(const WindowControls& t, int top)
{
    PlaceBar(t, t.findLabel, t.findEdit, t.findClose, FindBoxWidth, top);
    int margin = ScaledForDpi(BarMargin, t.dpi);
    int height = ScaledForDpi(BarHeight, t.dpi) - 2 * margin;
    int x = margin + ScaledForDpi(BarLabelWidth + FindBoxWidth + FindCloseWidth, t.dpi) + 3 * margin;
    for (auto [control, width] : {std::pair<HWND, int>{t.findCase, FindCaseWidth}, {t.findRegex, FindRegexWidth},
                                  {t.findCount, FindCountWidth}}) {
        MoveWindow(control, x, top + margin, ScaledForDpi(width, t.dpi), height, TRUE);
        x += ScaledForDpi(width, t.dpi) + margin;
    }
}

// Sets made on control in place of *font; a font that could not be made leaves the control with
// the one it had.
void ReplaceFont(HWND control, HFONT* font, HFONT made)
{
    if (made == NULL) {
        return;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    if (*font != NULL) {
        DeleteObject(*font);
    }
    *font = made;
}

} // namespace

bool CreateBars(WindowControls& t, HINSTANCE instance)
{
    t.quickLabel = CreateChild(t, instance, L"STATIC", QuickFilterLabel, WS_VISIBLE | SS_CENTERIMAGE, 0, QUICK_FILTER_LABEL);
    t.quickEdit = CreateChild(t, instance, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                              QUICK_FILTER_EDIT);
    t.findLabel = CreateChild(t, instance, L"STATIC", FindLabel, SS_CENTERIMAGE, 0, FIND_LABEL);
    t.findEdit = CreateChild(t, instance, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, FIND_EDIT);
    t.findCase = CreateChild(t, instance, L"BUTTON", FindMatchCaseLabel, WS_TABSTOP | BS_AUTOCHECKBOX, 0,
                             FIND_MATCH_CASE_CHECK);
    t.findRegex = CreateChild(t, instance, L"BUTTON", FindRegexLabel, WS_TABSTOP | BS_AUTOCHECKBOX, 0,
                              FIND_REGEX_CHECK);
    t.findCount = CreateChild(t, instance, L"STATIC", L"", SS_CENTERIMAGE, 0, FIND_COUNT_TEXT);
    t.findClose = CreateChild(t, instance, L"BUTTON", CloseFindButton, BS_PUSHBUTTON, 0, FIND_CLOSE_BUTTON);
    return t.quickLabel != NULL && t.quickEdit != NULL && t.findLabel != NULL && t.findEdit != NULL &&
           t.findCase != NULL && t.findRegex != NULL && t.findCount != NULL && t.findClose != NULL;
}

void Layout(const WindowControls& t)
{
    if (t.list == NULL || t.status == NULL || t.quickEdit == NULL) {
        return;
    }
    RECT client;
    GetClientRect(t.frame, &client);
    SendMessageW(t.status, WM_SIZE, 0, 0);
    RECT statusRect;
    GetWindowRect(t.status, &statusRect);
    int statusHeight = statusRect.bottom - statusRect.top;
    int bar = ScaledForDpi(BarHeight, t.dpi);
    int findHeight = t.findShown ? bar : 0;
    PlaceBar(t, t.quickLabel, t.quickEdit, NULL, QuickFilterWidth, 0);
    if (t.toolbar != NULL && t.toolbarShown) {
        // After the filter box, its buttons centred in the row.
        int x = ScaledForDpi(BarLabelWidth + QuickFilterWidth, t.dpi) + 3 * ScaledForDpi(BarMargin, t.dpi);
        int buttonHeight = HIWORD(SendMessageW(t.toolbar, TB_GETBUTTONSIZE, 0, 0));
        int top = buttonHeight < bar ? (bar - buttonHeight) / 2 : 0;
        MoveWindow(t.toolbar, x, top, std::max(0, static_cast<int>(client.right) - x), bar - top, TRUE);
    }
    MoveWindow(t.list, 0, bar, client.right, std::max(0L, client.bottom - statusHeight - bar - findHeight), TRUE);
    if (t.findShown) {
        PlaceFindBar(t, client.bottom - statusHeight - findHeight);
    }
    // The text column (2) takes what the time, class and process columns leave.
    int textWidth = client.right - ListView_GetColumnWidth(t.list, 0) - ListView_GetColumnWidth(t.list, 1) -
                    ListView_GetColumnWidth(t.list, 3) -
                    SystemMetricForDpi(SM_CXVSCROLL, t.dpi) - ScaledForDpi(TextColumnSlack, t.dpi);
    if (textWidth > ScaledForDpi(NarrowestTextColumn, t.dpi)) {
        ListView_SetColumnWidth(t.list, 2, textWidth);
    }
}

void ShowToolbar(WindowControls& t, HMENU menu, bool shown)
{
    t.toolbarShown = shown && t.toolbar != NULL;
    if (t.toolbar != NULL) {
        ShowWindow(t.toolbar, t.toolbarShown ? SW_SHOW : SW_HIDE);
    }
    CheckMenuItem(menu, TOOLBAR_COMMAND, MF_BYCOMMAND | (t.toolbarShown ? MF_CHECKED : MF_UNCHECKED));
    Layout(t);
}

// Gives the list, the status bar and the bars their fonts for the window's DPI.
void SetFontsForDpi(WindowControls& t)
{
    ReplaceFont(t.list, &t.listFont, CreateListFont(t.listFontChosen, t.listFontPoints, t.dpi));
    ReplaceFont(t.status, &t.statusFont, CreateStatusFontForDpi(t.dpi));
    for (HWND control : {t.quickLabel, t.quickEdit, t.findLabel, t.findEdit, t.findCase, t.findRegex, t.findCount,
                         t.findClose}) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(t.statusFont), TRUE);
    }
    SetToolbarFont(t.toolbar, t.statusFont);
}

// The window moved to a monitor of another DPI (or that monitor's scale changed).
void OnDpiChanged(WindowControls& t, UINT dpi, const RECT& suggested)
{
    RescaleLineListColumns(t.list, t.dpi, dpi);
    t.dpi = dpi;
    SetFontsForDpi(t);
    if (!t.restoringPlace) {
        // The system suggests a place and a size scaled for the new DPI.
        SetWindowPos(t.frame, NULL, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout(t);
}

void BringTitleBarOnScreen(const WindowControls& t)
{
    RECT window = {};
    if (!GetWindowRect(t.frame, &window)) {
        return;
    }
    RECT titleBar = window;
    titleBar.bottom = titleBar.top + SystemMetricForDpi(SM_CYCAPTION, t.dpi) + SystemMetricForDpi(SM_CYFRAME, t.dpi);
    if (MonitorFromRect(&titleBar, MONITOR_DEFAULTTONULL) != NULL) {
        return;  // partly off the screen is where the user put it
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    int width = std::min<int>(window.right - window.left, work.right - work.left);
    int height = std::min<int>(window.bottom - window.top, work.bottom - work.top);
    int left = std::max<int>(work.left, std::min<int>(window.left, work.right - width));
    int top = std::max<int>(work.top, std::min<int>(window.top, work.bottom - height));
    SetWindowPos(t.frame, NULL, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The first size, for the DPI of the monitor the window was placed on.
void SizeForDpi(const WindowControls& t)
{
    int width = ScaledForDpi(DesignWindowWidth, t.dpi);
    int height = ScaledForDpi(DesignWindowHeight, t.dpi);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(t.frame, MONITOR_DEFAULTTONEAREST), &monitor)) {
        width = std::min<int>(width, monitor.rcWork.right - monitor.rcWork.left);
        height = std::min<int>(height, monitor.rcWork.bottom - monitor.rcWork.top);
    }
    SetWindowPos(t.frame, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
