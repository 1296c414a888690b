#include "terminal_window.h"

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "dpi_scaling.h"
#include "incoming_queue.h"
#include "instance_control.h"
#include "line_export.h"
#include "line_list_view.h"
#include "line_store.h"
#include "line_text.h"
#include "terminal_protocol.h"
#include "terminal_session.h"
#include "terminal_texts.h"

namespace {

// The newest lines kept in memory; beyond that the oldest go in blocks (see LineStore).
constexpr size_t KeptLineLimit = 100000;
constexpr size_t DropBlock = 10000;
// Lines are drawn on a timer, never while a host waits for its message to be handled.
constexpr UINT RefreshTimerId = 1;
constexpr UINT RefreshIntervalMs = 50;
// Hosts wait while the window draws, so drawing may take at most a third of the time: after a
// refresh that took d ms the next comes no sooner than 2d ms later. Where drawing is slow (a
// software X server, a remote session) the list then moves in larger steps instead of holding
// every host up on every line.
constexpr ULONGLONG DrawingShareDivisor = 2;
// A steady flood of lines can keep timers from coming due (sent messages go first); this long
// after a refresh was due the window procedure refreshes the list itself.
constexpr ULONGLONG StarvedRefreshMs = 250;
constexpr UINT SavedMessage = WM_APP + 1;
// The window's first size at 100 %; at other DPIs it is scaled, and cut to the work area.
constexpr int DesignWindowWidth = 900;
constexpr int DesignWindowHeight = 520;
// Space beside the text column at 100 %, and the narrowest it is made.
constexpr int TextColumnSlack = 4;
constexpr int NarrowestTextColumn = 100;

enum CommandId {
    ListControlId = 100,
    StatusControlId,
    SaveCommand = 200,
    ExitCommand,
    CopyCommand,
    SelectAllCommand,
    ClearCommand,
    PauseCommand,
    // One per shown class, in LineClass order.
    ShowClassCommand = 300,
};

static_assert(sizeof(ShowClassMenuItems) / sizeof(ShowClassMenuItems[0]) == ShownClassCount,
              "a menu item for every class a user can show or hide");

struct TerminalWindow {
    IncomingQueue queue{WaitingLineLimit};
    LineStore store{KeptLineLimit, DropBlock};
    // Lines that arrived while the view was paused, shown on resume; at most KeptLineLimit.
    std::deque<ReceivedLine> held;
    uint64_t lostWhileWaiting = 0;
    bool paused = false;
    ULONGLONG nextRefresh = 0;  // tick count before which the list is not redrawn
    HWND frame = NULL;
    HWND list = NULL;
    HWND status = NULL;
    HMENU viewMenu = NULL;
    UINT dpi = DesignDpi;
    HFONT listFont = NULL;
    HFONT statusFont = NULL;
    std::wstring statusText;
    std::vector<std::thread> savers;
};

TerminalWindow* RunningWindow = NULL;

void UpdateStatus(TerminalWindow& t)
{
    std::wstring text =
        std::to_wstring(t.store.ShownCount()) + LinesShownOf + std::to_wstring(t.store.KeptCount()) + LinesKept;
    uint64_t lost = t.store.DroppedCount() + t.lostWhileWaiting;
    if (lost != 0) {
        text += StatusSeparator + std::to_wstring(lost) + OldestDropped;
    }
    if (t.paused) {
        text += StatusSeparator + std::wstring(PausedWaiting) + std::to_wstring(t.held.size()) + Waiting;
    }
    if (text != t.statusText) {
        t.statusText = text;
        SendMessageW(t.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void Hold(TerminalWindow& t, ReceivedLine&& line)
{
    if (line.lineClass == LineClass::ClearMarker) {
        t.held.clear();  // all of it would be cleared on resume anyway
    }
    if (t.held.size() >= KeptLineLimit) {
        t.held.pop_front();
        ++t.lostWhileWaiting;
    }
    t.held.push_back(std::move(line));
}

// Moves arrived lines into the store and shows them.
void Refresh(TerminalWindow& t)
{
    ULONGLONG began = GetTickCount64();
    std::vector<ReceivedLine> arrived;
    t.lostWhileWaiting += t.queue.TakeAll(&arrived);
    bool reset = false;
    for (ReceivedLine& line : arrived) {
        if (t.paused) {
            Hold(t, std::move(line));
        } else {
            reset |= t.store.Append(std::move(line));
        }
    }
    if (!t.paused) {
        if (reset) {
            ResetLineList(t.list, t.store);
        } else {
            ExtendLineList(t.list, t.store);
        }
    }
    UpdateStatus(t);
    // Drawn now rather than at the next WM_PAINT, so that the time it takes is known.
    UpdateWindow(t.frame);
    ULONGLONG ended = GetTickCount64();
    t.nextRefresh = ended + std::max<ULONGLONG>(RefreshIntervalMs, (ended - began) * DrawingShareDivisor);
}

void SetPaused(TerminalWindow& t, bool paused)
{
    t.paused = paused;
    CheckMenuItem(t.viewMenu, PauseCommand, MF_BYCOMMAND | (paused ? MF_CHECKED : MF_UNCHECKED));
    if (!paused) {
        while (!t.held.empty()) {
            t.store.Append(std::move(t.held.front()));
            t.held.pop_front();
        }
        ResetLineList(t.list, t.store);
    }
    UpdateStatus(t);
}

void ToggleClass(TerminalWindow& t, int index)
{
    ClassFilter filter = t.store.Filter();
    filter.shown[index] = !filter.shown[index];
    t.store.SetFilter(filter);
    CheckMenuItem(t.viewMenu, ShowClassCommand + index,
                  MF_BYCOMMAND | (filter.shown[index] ? MF_CHECKED : MF_UNCHECKED));
    ResetLineList(t.list, t.store);
    UpdateStatus(t);
}

void SaveShown(TerminalWindow& t)
{
    std::wstring path = AskSavePath(t.frame);
    if (path.empty()) {
        return;
    }
    std::string text;
    for (size_t row = 0; row < t.store.ShownCount(); ++row) {
        text += FormatOutputLine(t.store.ShownLine(row));
    }
    t.savers.push_back(SaveLinesInBackground(path, std::move(text), t.store.ShownCount(), t.frame, SavedMessage));
}

void ReportSaved(TerminalWindow& t, DWORD error, size_t lineCount)
{
    if (error != 0) {
        wchar_t text[160];
        swprintf(text, 160, SaveFailedFormat, static_cast<unsigned long>(error));
        MessageBoxW(t.frame, text, ProgramTitle, MB_OK | MB_ICONERROR);
        return;
    }
    t.statusText = SavedLines + std::to_wstring(lineCount) + Lines;
    SendMessageW(t.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(t.statusText.c_str()));
}

void OnCommand(TerminalWindow& t, int command)
{
    switch (command) {
    case SaveCommand: SaveShown(t); break;
    case ExitCommand: PostMessageW(t.frame, WM_CLOSE, 0, 0); break;
    case CopyCommand:
        if (!CopyLinesToClipboard(t.frame, SelectedLinesText(t.list, t.store))) {
            MessageBeep(MB_ICONWARNING);
        }
        break;
    case SelectAllCommand: ListView_SetItemState(t.list, -1, LVIS_SELECTED, LVIS_SELECTED); break;
    case ClearCommand:
        t.store.Clear();
        t.held.clear();
        ResetLineList(t.list, t.store);
        UpdateStatus(t);
        break;
    case PauseCommand: SetPaused(t, !t.paused); break;
    default:
        if (command >= ShowClassCommand && command < ShowClassCommand + ShownClassCount) {
            ToggleClass(t, command - ShowClassCommand);
        }
        break;
    }
}

HMENU BuildMenu(TerminalWindow& t)
{
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, SaveCommand, SaveMenuItem);
    AppendMenuW(file, MF_SEPARATOR, 0, NULL);
    AppendMenuW(file, MF_STRING, ExitCommand, ExitMenuItem);
    HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, CopyCommand, CopyMenuItem);
    AppendMenuW(edit, MF_STRING, SelectAllCommand, SelectAllMenuItem);
    AppendMenuW(edit, MF_SEPARATOR, 0, NULL);
    AppendMenuW(edit, MF_STRING, ClearCommand, ClearMenuItem);
    t.viewMenu = CreatePopupMenu();
    AppendMenuW(t.viewMenu, MF_STRING, PauseCommand, PauseMenuItem);
    AppendMenuW(t.viewMenu, MF_SEPARATOR, 0, NULL);
    for (int i = 0; i < ShownClassCount; ++i) {
        AppendMenuW(t.viewMenu, MF_STRING | MF_CHECKED, ShowClassCommand + i, ShowClassMenuItems[i]);
    }
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), FileMenu);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), EditMenu);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(t.viewMenu), ViewMenu);
    return bar;
}

HACCEL BuildAccelerators()
{
    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, 'S', SaveCommand},  {FCONTROL | FVIRTKEY, 'C', CopyCommand},
        {FCONTROL | FVIRTKEY, 'A', SelectAllCommand}, {FCONTROL | FVIRTKEY, 'L', ClearCommand},
        {FCONTROL | FVIRTKEY, 'P', PauseCommand}, {FVIRTKEY, VK_PAUSE, PauseCommand},
    };
    return CreateAcceleratorTableW(keys, static_cast<int>(sizeof(keys) / sizeof(keys[0])));
}

void Layout(TerminalWindow& t)
{
    if (t.list == NULL || t.status == NULL) {
        return;
    }
    RECT client;
    GetClientRect(t.frame, &client);
    SendMessageW(t.status, WM_SIZE, 0, 0);
    RECT statusRect;
    GetWindowRect(t.status, &statusRect);
    int statusHeight = statusRect.bottom - statusRect.top;
    MoveWindow(t.list, 0, 0, client.right, client.bottom - statusHeight, TRUE);
    // The text column takes what the time and class columns leave.
    int textWidth = client.right - ListView_GetColumnWidth(t.list, 0) - ListView_GetColumnWidth(t.list, 1) -
                    SystemMetricForDpi(SM_CXVSCROLL, t.dpi) - ScaledForDpi(TextColumnSlack, t.dpi);
    if (textWidth > ScaledForDpi(NarrowestTextColumn, t.dpi)) {
        ListView_SetColumnWidth(t.list, 2, textWidth);
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

// Gives the list and the status bar their fonts for the window's DPI.
void SetFontsForDpi(TerminalWindow& t)
{
    ReplaceFont(t.list, &t.listFont, CreateListFontForDpi(t.dpi));
    ReplaceFont(t.status, &t.statusFont, CreateStatusFontForDpi(t.dpi));
}

// The window moved to a monitor of another DPI (or that monitor's scale changed).
void OnDpiChanged(TerminalWindow& t, UINT dpi, const RECT& suggested)
{
    RescaleLineListColumns(t.list, t.dpi, dpi);
    t.dpi = dpi;
    SetFontsForDpi(t);
    // The system suggests a place and a size scaled for the new DPI.
    SetWindowPos(t.frame, NULL, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(t);
}

// The first size, for the DPI of the monitor the window was placed on.
void SizeForDpi(TerminalWindow& t)
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

LRESULT CALLBACK TerminalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TerminalWindow& t = *RunningWindow;
    ReceivedLine line;
    if (ReceiveTerminalMessage(message, wParam, lParam, &line)) {
        t.queue.Push(std::move(line));
        if (t.list != NULL && GetTickCount64() >= t.nextRefresh + StarvedRefreshMs) {
            Refresh(t);
        }
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        t.frame = window;
        t.dpi = DpiOfWindow(window);
        t.list = CreateLineList(window, ListControlId, reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance, t.dpi);
        t.status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(StatusControlId)),
                                   reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance, NULL);
        if (t.list == NULL || t.status == NULL) {
            return -1;
        }
        SetFontsForDpi(t);
        SetTimer(window, RefreshTimerId, RefreshIntervalMs, NULL);
        UpdateStatus(t);
        return 0;
    case WM_SIZE:
        Layout(t);
        return 0;
    case WM_DPICHANGED:
        // Both halves of wParam hold the new DPI (x and y are the same on Windows).
        OnDpiChanged(t, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETFOCUS:
        SetFocus(t.list);
        return 0;
    case WM_TIMER:
        if (wParam == RefreshTimerId && GetTickCount64() >= t.nextRefresh) {
            Refresh(t);
        }
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == t.list && HandleLineListNotify(header, t.store, &result)) {
            return result;
        }
        break;
    }
    case WM_COMMAND:
        OnCommand(t, LOWORD(wParam));
        return 0;
    case SavedMessage:
        ReportSaved(t, static_cast<DWORD>(wParam), static_cast<size_t>(lParam));
        return 0;
    case WM_DESTROY:
        KillTimer(window, RefreshTimerId);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int RunTerminalWindow(HINSTANCE instance, int showCommand, const StandardStreams& streams)
{
    TerminalSession session(streams);
    int status = session.Begin();
    if (status != DoneExitStatus) {
        return status;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    TerminalWindow terminal;
    RunningWindow = &terminal;
    WNDCLASSEXW windowClass = {};
    windowClass.lpfnWndProc = TerminalWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hIcon = LoadIconW(NULL, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    HMENU menu = BuildMenu(terminal);
    // Should the filter refuse, the window cannot tell the user anything useful; hosts at its own
    // level still reach it.
    std::string filterRefusal;
    HWND window = session.CreateTerminalWindow(windowClass, ProgramTitle, WS_OVERLAPPEDWINDOW, DesignWindowWidth,
                                               DesignWindowHeight, menu, &filterRefusal);
    if (window == NULL) {
        DestroyMenu(menu);
        return FailureExitStatus;
    }
    SizeForDpi(terminal);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    HACCEL accelerators = BuildAccelerators();
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (!TranslateAcceleratorW(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DestroyAcceleratorTable(accelerators);
    for (std::thread& saver : terminal.savers) {
        saver.join();
    }
    for (HFONT font : {terminal.listFont, terminal.statusFont}) {
        if (font != NULL) {
            DeleteObject(font);
        }
    }
    return DoneExitStatus;
}
