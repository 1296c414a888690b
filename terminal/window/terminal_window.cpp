#include "terminal_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dpi_scaling.h"
#include "frame_class.h"
#include "follow_state.h"
#include "history_dialog.h"
#include "line_find.h"
#include "line_list_view.h"
#include "line_rules.h"
#include "line_store.h"
#include "line_export.h"
#include "rule_file.h"
#include "rules_dialog.h"
#include "system_error_text.h"
#include "terminal_protocol.h"
#include "terminal_resource_ids.h"
#include "terminal_session.h"
#include "terminal_settings.h"
#include "terminal_texts.h"
#include "time_column.h"
#include "wide_text.h"
#include "viewer_window.h"
#include "window_capture.h"
#include "line_menu.h"
#include "window_bookmarks.h"
#include "window_find.h"
#include "window_files.h"
#include "window_layout.h"
#include "window_look.h"
#include "window_pace.h"
#include "window_state.h"
#include "window_toolbar.h"

namespace {

// What new rules are timed on in the rules dialog: the newest lines kept, at most this many.
constexpr size_t CostSampleLines = 200;
constexpr uint64_t NoStopLine = static_cast<uint64_t>(-1);
TerminalWindow* RunningWindow = NULL;

bool LastRowInView(TerminalWindow& t)
{
    int count = ListView_GetItemCount(t.ui.list);
    return count == 0 || ListView_GetTopIndex(t.ui.list) + ListView_GetCountPerPage(t.ui.list) >= count;
}

// Selects row alone and brings it into view, as the window's own doing.
void SelectRow(TerminalWindow& t, int row)
{
    t.selectingRows = true;
    ListView_SetItemState(t.ui.list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(t.ui.list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(t.ui.list, row, FALSE);
    t.selectingRows = false;
}

// The user scrolled since the window last looked: away from the end holds the list, back to the
// end lets it follow again.
void NoticeScrolling(TerminalWindow& t)
{
    if (t.topLeft < 0 || ListView_GetTopIndex(t.ui.list) == t.topLeft) {
        return;
    }
    ReactToFollow(t, t.follow.Handle(LastRowInView(t) ? FollowEvent::ScrolledToEnd : FollowEvent::ScrolledAwayFromEnd));
    RememberTop(t);
}

// Moves arrived lines into the store and shows them.
void Refresh(TerminalWindow& t)
{
    ULONGLONG began = GetTickCount64();
    ContinueFiltering(t);
    t.live.TakeArrived();
    bool liveShown = !t.opened.IsOpen() && !t.live.paused;
    if (liveShown) {
        NoticeScrolling(t);
    }
    bool reset = false;
    int topBefore = ListView_GetTopIndex(t.ui.list);
    uint64_t vanishedBefore = t.live.view.store.DroppedShownCount();
    // The stop line by its number since the first line kept, which drops do not change.
    uint64_t stopLine = NoStopLine;
    size_t taken = 0;
    // Each line is judged as it is stored: costly rules must not hold the window, so what is left
    // when the tick's time is up waits for the next tick.
    ULONGLONG storing = GetTickCount64();  // filtering has had its share of the tick
    for (; t.live.StillArriving() != 0 && (taken == 0 || GetTickCount64() - storing < TickWorkMs); ++taken) {
        ReceivedLine& line = t.live.arriving[t.live.arrivingNext++];
        if (t.log.Active()) {
            t.log.Add(line);
        }
        t.live.view.time.Observe(line);
        if (line.lineClass == LineClass::ClearMarker && liveShown) {
            t.follow.Handle(FollowEvent::Cleared);
            t.status.findNotice.clear();
            t.find.currentLine = NoFoundLine;
            stopLine = NoStopLine;
        }
        if (t.live.paused) {
            t.live.Hold(std::move(line));
            continue;
        }
        size_t shownBefore = t.live.view.store.ShownCount();
        bool clear = line.lineClass == LineClass::ClearMarker;
        reset |= t.live.view.store.Append(std::move(line));
        if (clear) {
            t.live.ForgetLosses();
        }
        if (t.opened.IsOpen()) {
            ++t.opened.liveSince;
        }
        if (stopLine == NoStopLine && t.live.view.store.ShownCount() > shownBefore) {
            size_t row = t.live.view.store.ShownCount() - 1;
            if ((t.live.view.store.ShownMark(row) & StopMark) != 0) {
                stopLine = t.live.view.store.DroppedCount() + t.live.view.store.KeptIndexOfShown(row);
            }
        }
    }
    if (liveShown) {
        if (reset) {
            ResetList(t);
            if (!t.follow.Following()) {
                // A view the user holds stays on its lines as the oldest go.
                uint64_t vanished = t.live.view.store.DroppedShownCount() - vanishedBefore;
                int top = vanished >= static_cast<uint64_t>(topBefore) ? 0 : topBefore - static_cast<int>(vanished);
                ListView_EnsureVisible(t.ui.list, top, FALSE);
            }
        } else {
            ExtendLineList(t.ui.list, t.live.view.store);
        }
        const LineStore& store = t.live.view.store;
        if (stopLine != NoStopLine && stopLine >= store.DroppedCount() &&
            t.follow.Handle(FollowEvent::StopLineArrived) == FollowReaction::ShowStopLine) {
            size_t row = store.ShownRowAtOrBefore(static_cast<size_t>(stopLine - store.DroppedCount()));
            if (row != NoShownRow) {
                SelectRow(t, static_cast<int>(row));
            }
        }
        if (taken != 0) {
            ReactToFollow(t, t.follow.Handle(FollowEvent::LinesArrived));
        }
        RememberTop(t);
    }
    ContinueCountingMatches(t);
    UpdateStatus(t);
    // Drawn now rather than at the next WM_PAINT, so that the time it takes is known.
    UpdateWindow(t.ui.frame);
    ULONGLONG ended = GetTickCount64();
    t.nextRefresh = ended + std::max<ULONGLONG>(RefreshIntervalMs, (ended - began) * RefreshShareDivisor);
}

void CheckItem(TerminalWindow& t, int command, bool checked)
{
    CheckMenuItem(t.menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    ShowToolbarCheck(t.ui.toolbar, command, checked);
}

void SetPaused(TerminalWindow& t, bool paused)
{
    t.live.paused = paused;
    CheckItem(t, PAUSE_COMMAND, paused);
    if (!paused) {
        if (t.live.clearedWhileHeld) {
            t.live.view.store.Clear();
            t.live.ForgetLosses();
            t.live.clearedWhileHeld = false;
        }
        for (size_t i = 0; i < t.live.held.KeptCount(); ++i) {
            t.live.view.store.Append(t.live.held.KeptLine(i));
        }
        t.live.held.Clear();
        if (!t.opened.IsOpen()) {
            ResetList(t);
        }
    }
    UpdateStatus(t);
}

void ApplyClassFilter(TerminalWindow& t, const ClassFilter& filter)
{
    ChangeShownLines(t, [&t, &filter] {
        t.live.view.store.SetFilter(filter);
        if (t.opened.IsOpen()) {
            t.opened.view->store.SetFilter(filter);
        }
    });
    for (int i = 0; i < ShownClassCount; ++i) {
        CheckItem(t, SHOW_DEBUG_COMMAND + i, filter.shown[i]);
    }
    UpdateStatus(t);
}

void ToggleClass(TerminalWindow& t, int index)
{
    ClassFilter filter = t.live.view.store.Filter();
    filter.shown[index] = !filter.shown[index];
    ApplyClassFilter(t, filter);
}

void ApplyQuickFilter(TerminalWindow& t)
{
    KillTimer(t.ui.frame, QuickFilterTimerId);
    std::string text = WideToUtf8(ControlText(t.ui.quickEdit));
    std::vector<Rule> rules;
    if (!text.empty()) {
        Rule rule;
        rule.kind = RuleKind::Include;
        rule.pattern = text;
        rules.push_back(rule);
    }
    RuleSet compiled;
    std::string error;
    if (!compiled.Compile(rules, t.encoding, &error)) {
        // Plain text fails only with characters the lines' code page cannot hold.
        t.status.notice = error;
        UpdateStatus(t);
        return;
    }
    t.filter.rule = std::move(compiled);
    Refilter(t);
}

// The newest lines of the view shown, which the rules dialog times new rules on.
std::vector<StoredLine> CostSample(TerminalWindow& t)
{
    const LineStore& store = ShownView(t).store;
    std::vector<StoredLine> sample;
    size_t first = store.KeptCount() > CostSampleLines ? store.KeptCount() - CostSampleLines : 0;
    for (size_t i = first; i < store.KeptCount(); ++i) {
        sample.push_back(store.KeptLine(i));
    }
    return sample;
}

} // namespace

void OpenRulesDialog(TerminalWindow& t, std::vector<Rule> rules)
{
    RuleSet compiled;
    if (EditRules(t.ui.frame, t.instance, t.encoding, CostSample(t), &rules, &compiled)) {
        t.rulesFromCommandLine = false;
        UseRules(t, std::move(rules), std::move(compiled));
    }
}

namespace {

void SetTimeMode(TerminalWindow& t, TimeMode mode)
{
    t.live.view.time.SetMode(mode);
    if (t.opened.IsOpen()) {
        t.opened.view->time.SetMode(mode);
    }
    CheckMenuRadioItem(t.menu, TIME_CLOCK_COMMAND, TIME_SINCE_PREVIOUS_COMMAND,
                       TIME_CLOCK_COMMAND + static_cast<int>(mode), MF_BYCOMMAND);
    ShowTimeColumnTitle(t.ui.list, t.live.view.time);
    InvalidateRect(t.ui.list, NULL, FALSE);
}

void SetShowDates(TerminalWindow& t, bool show)
{
    t.live.view.time.SetShowDates(show);
    if (t.opened.IsOpen()) {
        t.opened.view->time.SetShowDates(show);
    }
    CheckItem(t, SHOW_DATES_COMMAND, show);
    ShowTimeColumnTitle(t.ui.list, t.live.view.time);
    if (show) {
        // Wide enough for the date as well; a wider column the user chose stays.
        int needed = ListView_GetStringWidth(t.ui.list, L"0000-00-00 00:00:00.000") + MulDiv(16, static_cast<int>(t.ui.dpi), 96);
        if (ListView_GetColumnWidth(t.ui.list, 0) < needed) {
            ListView_SetColumnWidth(t.ui.list, 0, needed);
        }
    }
    InvalidateRect(t.ui.list, NULL, FALSE);
}

void SetAlwaysOnTop(TerminalWindow& t, bool onTop)
{
    t.alwaysOnTop = onTop;
    SetWindowPos(t.ui.frame, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CheckItem(t, ALWAYS_ON_TOP_COMMAND, onTop);
}

void GoToEnd(TerminalWindow& t)
{
    t.goingToEnd = false;
    if (t.opened.IsOpen()) {
        ShowNewest(t);
    } else {
        ReactToFollow(t, t.follow.Handle(FollowEvent::WentToEnd));
    }
    RememberTop(t);
    UpdateStatus(t);
}

bool StartLog(TerminalWindow& t, const HeadlessOptions& options)
{
    if (t.viewer) {
        return false;  // it takes no lines
    }
    bool started = t.log.Start(options, *t.streams, t.ui.frame);
    CheckItem(t, LOG_COMMAND, started);
    UpdateStatus(t);
    return started;
}

// Every line received so far goes to the log before it stops, also those not yet stored.
std::string StopLog(TerminalWindow& t)
{
    if (!t.log.Active()) {
        return std::string();
    }
    t.live.TakeEverythingWaiting();
    for (size_t i = t.live.arrivingNext; i < t.live.arriving.size(); ++i) {
        t.log.Add(t.live.arriving[i]);
    }
    return t.log.Stop();
}

// File > Log to file: starts logging to a file the user names, or stops logging.
void ToggleLog(TerminalWindow& t)
{
    if (t.log.Active()) {
        std::string problem = StopLog(t);
        CheckItem(t, LOG_COMMAND, false);
        UpdateStatus(t);
        if (!problem.empty()) {
            ShowError(t, problem);
        }
        return;
    }
    std::wstring path = AskPathToSave(t.ui.frame, {LogDialogTitle, LogFilter, LogDefaultName, NULL});
    if (!path.empty()) {
        HeadlessOptions options;
        options.outputPath = path;
        StartLog(t, options);
    }
}

// A problem the log's writer met: said in the status bar now, in a message box at the user's next
// command.
void ReportLogProblem(TerminalWindow& t, std::string* problem)
{
    std::unique_ptr<std::string> owned(problem);
    t.status.notice = FillText(LogProblem, {WideToUtf8(t.log.Path()), *owned});
    t.status.unreadProblem = t.status.notice;
    UpdateStatus(t);
}

// File: open, save, log, import and export rules, exit. False when command is not one of them.
bool OnFileCommand(TerminalWindow& t, int command)
{
    switch (command) {
    case OPEN_COMMAND: {
        std::wstring path = AskPathToOpen(t.ui.frame, {OpenDialogTitle, LogFilter, NULL, NULL});
        if (!path.empty()) {
            OpenLog(t, path);
        }
        return true;
    }
    case OPEN_VIEWER_COMMAND: OpenInNewWindow(t); return true;
    case STOP_READING_COMMAND: StopReading(t); return true;
    case SAVE_COMMAND: SaveShown(t); return true;
    case LOG_COMMAND: ToggleLog(t); return true;
    case IMPORT_RULES_COMMAND: ImportRules(t); return true;
    case EXPORT_RULES_COMMAND: ExportRules(t); return true;
    case EXIT_COMMAND: PostMessageW(t.ui.frame, WM_CLOSE, 0, 0); return true;
    default:
        return false;
    }
}

// With a filter on, the selected line among all the kept lines, selected and in view; again, the
// filtered lines with that line (or the nearest shown before it) selected.
void ToggleAllLines(TerminalWindow& t)
{
    LineStore& store = ShownView(t).store;
    bool all = !store.ShowsAll();
    ChangeShownLines(t, [&store, all] { store.ShowAll(all); });
    int selected = ListView_GetNextItem(t.ui.list, -1, LVNI_SELECTED);
    if (selected >= 0) {
        ListView_EnsureVisible(t.ui.list, selected, FALSE);
        RememberTop(t);
    }
    CheckItem(t, SHOW_ALL_LINES_COMMAND, all);
    UpdateStatus(t);
}

void OpenHistoryDialog(TerminalWindow& t)
{
    size_t lines = t.historyLines;
    size_t megabytes = t.historyMegabytes;
    if (EditHistory(t.ui.frame, t.instance, &lines, &megabytes)) {
        t.historyFromCommandLine = false;
        UseHistory(t, lines, megabytes);
    }
}

// Edit: copy, select all, find, clear. False when command is not one of them.
bool OnEditCommand(TerminalWindow& t, int command)
{
    switch (command) {
    case COPY_COMMAND:
    case COPY_TEXT_COMMAND:
        if (!CopyLinesToClipboard(t.ui.frame,
                                  SelectedLinesText(t.ui.list, ShownView(t).store, command == COPY_TEXT_COMMAND))) {
            MessageBeep(MB_ICONWARNING);
        }
        return true;
    case INCLUDE_LIKE_THIS_COMMAND: AdjustRuleLikeSelected(t, RuleKind::Include); return true;
    case EXCLUDE_LIKE_THIS_COMMAND: AdjustRuleLikeSelected(t, RuleKind::Exclude); return true;
    case HIGHLIGHT_LIKE_THIS_COMMAND: AdjustRuleLikeSelected(t, RuleKind::Highlight); return true;
    case FILTER_BY_TASK_COMMAND: FilterBySelectedTask(t); return true;
    case FIND_MATCH_CASE_COMMAND: OnFindOption(t, FIND_MATCH_CASE_CHECK, true); return true;
    case FIND_REGEX_COMMAND: OnFindOption(t, FIND_REGEX_CHECK, true); return true;
    case TOGGLE_BOOKMARK_COMMAND: ToggleSelectedBookmarks(t); return true;
    case NEXT_BOOKMARK_COMMAND: GoToBookmark(t, true); return true;
    case PREVIOUS_BOOKMARK_COMMAND: GoToBookmark(t, false); return true;
    case SELECT_ALL_COMMAND: ListView_SetItemState(t.ui.list, -1, LVIS_SELECTED, LVIS_SELECTED); return true;
    case FIND_COMMAND: ShowFindBar(t, true); return true;
    case FIND_NEXT_COMMAND:
    case FIND_PREVIOUS_COMMAND:
        if (!t.find.finder.Active()) {
            ShowFindBar(t, true);
        } else {
            Find(t, command == FIND_NEXT_COMMAND ? FindDirection::Next : FindDirection::Previous, false);
        }
        return true;
    case CLOSE_FIND_COMMAND:
        // Esc ends the longest thing under way first: a log being read.
        if (t.reading.Active()) {
            StopReading(t);
        } else if (t.ui.findShown) {
            ShowFindBar(t, false);
        } else {
            SetFocus(t.ui.list);
        }
        return true;
    case FIND_CLOSE_BUTTON: ShowFindBar(t, false); return true;
    case SHOW_ALL_LINES_COMMAND: ToggleAllLines(t); return true;
    case FILTER_BY_PROCESS_COMMAND: FilterBySelectedProcess(t); return true;
    case CLEAR_COMMAND:
        ShownView(t).store.Clear();
        if (t.opened.IsOpen()) {
            t.opened.view->time.Restart();
        } else {
            t.live.held.Clear();
            t.live.ForgetLosses();
            t.live.view.time.Restart();
            t.follow.Handle(FollowEvent::Cleared);
        }
        t.status.findNotice.clear();
        t.find.currentLine = NoFoundLine;
        ResetList(t);
        UpdateStatus(t);
        return true;
    default:
        return false;
    }
}

// View and the boxes: pause, follow, rules, the time column, the classes, on top, typing.
void OnViewCommand(TerminalWindow& t, int command, int notification)
{
    switch (command) {
    case PAUSE_COMMAND: SetPaused(t, !t.live.paused); break;
    case FOLLOW_COMMAND: GoToEnd(t); break;
    case LIVE_VIEW_COMMAND: BackToLive(t); break;
    case RULES_COMMAND: OpenRulesDialog(t, t.ruleList); break;
    case QUICK_FILTER_COMMAND:
        SendMessageW(t.ui.quickEdit, EM_SETSEL, 0, -1);
        SetFocus(t.ui.quickEdit);
        break;
    case TIME_CLOCK_COMMAND: SetTimeMode(t, TimeMode::Clock); break;
    case TIME_SINCE_START_COMMAND: SetTimeMode(t, TimeMode::SinceStart); break;
    case TIME_SINCE_PREVIOUS_COMMAND: SetTimeMode(t, TimeMode::SincePrevious); break;
    case ALWAYS_ON_TOP_COMMAND: SetAlwaysOnTop(t, !t.alwaysOnTop); break;
    case CAPTURE_ODS_COMMAND: SetCapture(t, !t.capture.listeners.Listening(), false); break;
    case CAPTURE_GLOBAL_COMMAND: SetCapture(t, true, !t.capture.listeners.global.Listening()); break;
    case SHOW_DATES_COMMAND: SetShowDates(t, !t.live.view.time.ShowsDates()); break;
    case HISTORY_COMMAND: OpenHistoryDialog(t); break;
    case TOOLBAR_COMMAND: ShowToolbar(t.ui, t.menu, !t.ui.toolbarShown); break;
    case QUICK_FILTER_EDIT:
        if (notification == EN_CHANGE) {
            SetTimer(t.ui.frame, QuickFilterTimerId, QuickFilterDelayMs, NULL);
        }
        break;
    case FIND_EDIT:
        if (notification == EN_CHANGE) {
            OnFindTextChanged(t);
        }
        break;
    case FIND_MATCH_CASE_CHECK:
    case FIND_REGEX_CHECK:
        if (notification == BN_CLICKED) {
            OnFindOption(t, command, false);
        }
        break;
    default:
        if (command >= SHOW_DEBUG_COMMAND && command < SHOW_DEBUG_COMMAND + ShownClassCount) {
            ToggleClass(t, command - SHOW_DEBUG_COMMAND);
        }
        break;
    }
}

void OnCommand(TerminalWindow& t, int command, int notification)
{
    if (!t.status.unreadProblem.empty()) {
        std::string problem = std::move(t.status.unreadProblem);
        t.status.unreadProblem.clear();
        ShowError(t, problem);
    }
    if (t.viewer && !ViewerTakes(command)) {
        return;
    }
    if (!OnFileCommand(t, command) && !OnEditCommand(t, command) && !OnLookCommand(t, command)) {
        OnViewCommand(t, command, notification);
    }
}

// The remembered settings that the window shows: placement, columns, time, classes, on top.
void ApplySettings(TerminalWindow& t, int* showCommand)
{
    const TerminalSettings& s = t.settings;
    if (s.placement.known) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        placement.rcNormalPosition = {s.placement.left, s.placement.top, s.placement.left + s.placement.width,
                                      s.placement.top + s.placement.height};
        placement.showCmd = SW_HIDE;
        t.ui.restoringPlace = true;
        SetWindowPlacement(t.ui.frame, &placement);
        t.ui.restoringPlace = false;
        BringTitleBarOnScreen(t.ui);
        if (s.placement.maximized && (*showCommand == SW_SHOWNORMAL || *showCommand == SW_SHOWDEFAULT)) {
            *showCommand = SW_SHOWMAXIMIZED;
        }
    } else {
        SizeForDpi(t.ui);
    }
    int widths[ListColumnCount];
    for (int column = 0; column < ListColumnCount; ++column) {
        widths[column] = MulDiv(s.columnWidths[column], static_cast<int>(t.ui.dpi), static_cast<int>(s.columnDpi));
    }
    SetLineListColumnWidths(t.ui.list, widths);
    SetTimeMode(t, s.timeMode);
    ApplyClassFilter(t, s.shownClasses);
    SetAlwaysOnTop(t, s.alwaysOnTop);
    SetShowDates(t, s.showDates);
    ShowToolbar(t.ui, t.menu, s.showToolbar);
    SetCapture(t, s.captureOds, false);
    SetFindOptions(t, s.findMatchCase, s.findRegularExpression);
    UseListFont(t, s.listFont, s.zoomPoints);
    SetTheme(t, s.theme);
}

void SaveSettings(TerminalWindow& t)
{
    if (t.viewer) {
        return;  // the remembered choices are the live terminal's
    }
    TerminalSettings s = t.settings;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (GetWindowPlacement(t.ui.frame, &placement) && IsWindowVisible(t.ui.frame)) {
        const RECT& normal = placement.rcNormalPosition;
        s.placement = {true, static_cast<int>(normal.left), static_cast<int>(normal.top),
                       static_cast<int>(normal.right - normal.left), static_cast<int>(normal.bottom - normal.top),
                       placement.showCmd == SW_SHOWMAXIMIZED};
    }
    GetLineListColumnWidths(t.ui.list, s.columnWidths);
    s.columnDpi = t.ui.dpi;
    s.timeMode = t.live.view.time.Mode();
    s.shownClasses = t.live.view.store.Filter();
    if (!t.rulesFromCommandLine) {
        s.rules = t.ruleList;
    }
    if (!t.historyFromCommandLine) {
        s.historyLines = t.historyLines;
    }
    s.historyMegabytes = t.historyMegabytes;
    s.alwaysOnTop = t.alwaysOnTop;
    s.showDates = t.live.view.time.ShowsDates();
    s.captureOds = t.capture.wanted;
    s.findMatchCase = t.find.matchCase;
    s.findRegularExpression = t.find.regularExpression;
    s.showToolbar = t.ui.toolbarShown;
    s.listFont = t.ui.listFontChosen;
    s.zoomPoints = t.ui.listFontPoints;
    s.theme = t.look.choice;
    if (s == t.settings) {
        return;
    }
    std::string error;
    SaveTerminalSettings(t.settingsKey, s, &error);  // nobody is left to tell: the window is closing
}

void OnListNotify(TerminalWindow& t, const NMHDR* header)
{
    if (header->code == LVN_ITEMCHANGED && !t.selectingRows && !t.goingToEnd && !t.opened.IsOpen()) {
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) != 0 && (change->uNewState & LVIS_SELECTED) != 0 &&
            (change->uOldState & LVIS_SELECTED) == 0) {
            t.follow.Handle(FollowEvent::LineSelected);
            UpdateStatus(t);
        }
    } else if (header->code == LVN_KEYDOWN) {
        const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
        if (key->wVKey == VK_END) {
            // The list moves to its last row first; then the view follows again.
            t.goingToEnd = true;
            PostMessageW(t.ui.frame, WM_COMMAND, FOLLOW_COMMAND, 0);
        }
    }
}

// The frame's controls, fonts, timer and menu, as it is created; false when a control could not
// be made.
bool OnCreate(TerminalWindow& t, HWND window)
{
    t.ui.frame = window;
    t.ui.dpi = DpiOfWindow(window);
    t.ui.list = CreateLineList(window, LIST_CONTROL, t.instance, t.ui.dpi);
    t.ui.toolbar = CreateToolbar(window, t.instance);
    t.ui.status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                               window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(STATUS_CONTROL)), t.instance,
                               NULL);
    if (t.ui.list == NULL || t.ui.toolbar == NULL || t.ui.status == NULL || !CreateBars(t.ui, t.instance)) {
        return false;
    }
    t.menu = GetMenu(window);
    SetFontsForDpi(t.ui);
    DragAcceptFiles(window, TRUE);
    SetTimer(window, RefreshTimerId, RefreshIntervalMs, NULL);
    UpdateStatus(t);
    return true;
}

LRESULT CALLBACK TerminalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TerminalWindow& t = *RunningWindow;
    switch (message) {
    case WM_CREATE:
        return OnCreate(t, window) ? 0 : -1;
    case WM_SIZE:
        Layout(t.ui);
        return 0;
    case WM_DPICHANGED:
        // Both halves of wParam hold the new DPI (x and y are the same on Windows).
        OnDpiChanged(t.ui, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETFOCUS:
        SetFocus(t.ui.list);
        return 0;
    case WM_SETTINGCHANGE:
        OnSettingChange(t, lParam);
        break;
    case WM_SYSCOLORCHANGE:
        SetTheme(t, t.look.choice);  // the light palette is the system's colours
        SendMessageW(t.ui.list, message, wParam, lParam);
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        LRESULT result = 0;
        if (ControlColours(t, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), &result)) {
            return result;
        }
        break;
    }
    case WM_ERASEBKGND:
        if (EraseFrame(t, reinterpret_cast<HDC>(wParam))) {
            return 1;
        }
        break;
    case WM_DRAWITEM:
        if (DrawStatus(t, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (wParam == RefreshTimerId) {
            ContinueReading(t);
        }
        if (wParam == RefreshTimerId && GetTickCount64() >= t.nextRefresh) {
            Refresh(t);
        } else if (wParam == QuickFilterTimerId) {
            ApplyQuickFilter(t);
        }
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == t.ui.list) {
            if (HandleLineListNotify(header, Look(t), &result)) {
                return result;
            }
            OnListNotify(t, header);
        } else if (header->hwndFrom == t.ui.toolbar && AnswerToolbarTip(t.instance, const_cast<NMHDR*>(header))) {
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        OnCommand(t, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == t.ui.list) {
            ShowLineMenu(t, lParam);
            return 0;
        }
        break;
    case WM_DROPFILES:
        OnDropFiles(t, reinterpret_cast<HDROP>(wParam));
        return 0;
    case SavedMessage:
        ReportSaved(t, static_cast<DWORD>(wParam), static_cast<size_t>(lParam));
        return 0;
    case LogProblemMessage:
        ReportLogProblem(t, reinterpret_cast<std::string*>(lParam));
        return 0;
    case WM_CLOSE:
        SaveSettings(t);
        break;
    case WM_ENDSESSION:
        // Windows is logging off or shutting down: the window gets no WM_CLOSE.
        if (wParam != FALSE) {
            SaveSettings(t);
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window, RefreshTimerId);
        KillTimer(window, QuickFilterTimerId);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Keys typed into the filter or find box go to the box, except those that only the window
// uses; Enter in the find box finds the next match.
bool KeyForWindow(TerminalWindow& t, const MSG& message)
{
    HWND focus = GetFocus();
    if (message.message != WM_KEYDOWN || (focus != t.ui.quickEdit && focus != t.ui.findEdit)) {
        return true;
    }
    WPARAM key = message.wParam;
    if (key == VK_F2 || key == VK_F3 || key == VK_ESCAPE) {
        return true;
    }
    bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    bool zoom = key == VK_OEM_PLUS || key == VK_ADD || key == VK_OEM_MINUS || key == VK_SUBTRACT || key == '0' ||
                key == VK_NUMPAD0;
    return control && (zoom || key == 'F' || key == 'O' || key == 'S' || key == 'R' || key == 'Q' || key == 'L' ||
                       key == 'P');
}

// Tab and Shift+Tab move between the filter box, the list and (when open) the find box. True
// when message was such a key and the focus moved.
bool MovedFocus(TerminalWindow& t, const MSG& message)
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
        (message.hwnd != t.ui.quickEdit && message.hwnd != t.ui.list && message.hwnd != t.ui.findEdit &&
         message.hwnd != t.ui.findCase && message.hwnd != t.ui.findRegex)) {
        return false;
    }
    std::vector<HWND> order = {t.ui.quickEdit, t.ui.list};
    if (t.ui.findShown) {
        order.insert(order.end(), {t.ui.findEdit, t.ui.findCase, t.ui.findRegex});
    }
    size_t at = static_cast<size_t>(std::find(order.begin(), order.end(), message.hwnd) - order.begin());
    if (at == order.size()) {
        return false;  // the find box while the bar is closed
    }
    bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    HWND next = order[(at + (back ? order.size() - 1 : 1)) % order.size()];
    SetFocus(next);
    if (next == t.ui.quickEdit || next == t.ui.findEdit) {
        SendMessageW(next, EM_SETSEL, 0, -1);
    }
    return true;
}

// The rules the window starts with: --rules FILE, else the remembered ones. False (the user
// told why) when the file cannot be used.
bool LoadStartingRules(TerminalWindow& t, const WindowOptions& options, const StandardStreams& streams)
{
    std::vector<Rule> rules = t.settings.rules;
    std::string error;
    if (!options.rulesPath.empty()) {
        if (!ReadRuleFile(options.rulesPath, &rules, &error) || !t.rules.Compile(rules, t.encoding, &error)) {
            TellUser(streams, FillText(CannotUseRulesFile, {WideToUtf8(options.rulesPath), error}));
            return false;
        }
        t.rulesFromCommandLine = true;
    } else if (!t.rules.Compile(rules, t.encoding, &error)) {
        // Remembered rules this system's code page cannot hold: the window starts without them.
        t.status.notice = FillText(RulesNotUsable, {error});
        rules.clear();
    }
    t.ruleList = rules;
    return true;
}

// The log to show at the start, made absolute (a file dialog may change the current folder before
// the read starts). False (the user told why) when it cannot be opened.
bool CheckStartingLog(const WindowOptions& options, const StandardStreams& streams, std::wstring* path)
{
    if (options.openPath.empty()) {
        return true;
    }
    DWORD length = GetFullPathNameW(options.openPath.c_str(), 0, NULL, NULL);
    std::wstring full(length, L'\0');
    DWORD got = length == 0 ? 0 : GetFullPathNameW(options.openPath.c_str(), length, &full[0], NULL);
    full.resize(got < length ? got : 0);
    *path = full.empty() ? options.openPath : full;
    HANDLE file = CreateFileW(path->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        TellUser(streams, FillText(CannotOpenLog, {WideToUtf8(options.openPath), SystemErrorText(GetLastError())}));
        return false;
    }
    CloseHandle(file);
    return true;
}

// The window the user sees, hidden until the settings are applied; NULL when it cannot be made.
HWND CreateFrame(HINSTANCE instance)
{
    WNDCLASSEXW frameClass = {};
    frameClass.cbSize = sizeof(frameClass);
    frameClass.lpfnWndProc = TerminalWindowProc;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    frameClass.hIcon = LoadIconW(NULL, IDI_APPLICATION);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = TerminalFrameClass;
    if (RegisterClassExW(&frameClass) == 0) {
        return NULL;
    }
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(TERMINAL_MENU));
    HWND frame = CreateWindowExW(0, TerminalFrameClass, ProgramTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, DesignWindowWidth, DesignWindowHeight, NULL, menu, instance, NULL);
    if (frame == NULL && menu != NULL) {
        DestroyMenu(menu);
    }
    return frame;
}

// Until the frame is gone: the find box's Enter, Tab between the boxes and the list, the
// accelerators, then the messages themselves.
void RunMessageLoop(TerminalWindow& terminal, HINSTANCE instance, HWND window)
{
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(TERMINAL_ACCELERATORS));
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && message.hwnd == terminal.ui.findEdit) {
            Find(terminal, (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? FindDirection::Previous : FindDirection::Next,
                 false);
            continue;
        }
        if (MovedFocus(terminal, message)) {
            continue;
        }
        if (!KeyForWindow(terminal, message) || !TranslateAcceleratorW(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// After the frame's last message: the receiver, the log (with every line received), the savers
// and the fonts go, in that order.
void EndFrame(TerminalWindow& t, HINSTANCE instance)
{
    StopCapture(t);  // it feeds the receiver's queue
    t.live.receiver.Stop();
    t.reading.End();
    std::string problem = StopLog(t);
    if (!problem.empty() && t.streams != nullptr) {
        TellUser(*t.streams, problem);
    }
    for (std::thread& saver : t.savers) {
        saver.join();
    }
    for (HFONT font : {t.ui.listFont, t.ui.statusFont}) {
        if (font != NULL) {
            DeleteObject(font);
        }
    }
    EndLook(t);
    RunningWindow = NULL;
    // A window started again in this process (as tests do) registers the class again.
    UnregisterClassW(TerminalFrameClass, instance);
}

} // namespace

int RunTerminalWindow(HINSTANCE instance, int showCommand, const StandardStreams& streams,
                      const WindowOptions& options)
{
    TerminalWindow terminal;
    terminal.instance = instance;
    terminal.streams = &streams;
    terminal.settingsKey = options.settingsKey;
    terminal.viewer = options.viewer;
    std::vector<std::string> problems;
    LoadTerminalSettings(options.settingsKey, &terminal.settings, &problems);
    if (!problems.empty()) {
        terminal.status.notice = problems.front();
    }
    if (!LoadStartingRules(terminal, options, streams)) {
        return UsageExitStatus;  // an argument it cannot use, as a bad one is
    }
    std::wstring startingLog;
    if (!CheckStartingLog(options, streams, &startingLog)) {
        return UsageExitStatus;
    }
    terminal.historyFromCommandLine = options.historyLines != 0;
    UseHistory(terminal, terminal.historyFromCommandLine ? options.historyLines : terminal.settings.historyLines,
               terminal.settings.historyMegabytes);

    TerminalSession session(streams);
    int status = terminal.viewer ? DoneExitStatus : session.Begin();  // a viewer claims nothing
    if (status != DoneExitStatus) {
        return status;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    RunningWindow = &terminal;
    HWND window = CreateFrame(instance);
    if (window == NULL) {
        TellUser(streams, CannotCreateWindow + SystemErrorText(GetLastError()));
        RunningWindow = NULL;
        return FailureExitStatus;
    }
    // Should the filter refuse, the window cannot tell the user anything useful; hosts at its own
    // level still reach it. A viewer has no receiving window, and --stop is not for it.
    std::string filterRefusal;
    if (terminal.viewer) {
        PrepareViewer(terminal);
    } else if (!session.Accept(terminal.live.receiver.Start(instance, window), &filterRefusal)) {
        DestroyWindow(window);
        EndFrame(terminal, instance);
        return FailureExitStatus;
    } else {
        session.CloseOnStopRequest(window);
    }
    if (!options.log.outputPath.empty() && !StartLog(terminal, options.log)) {
        DestroyWindow(window);
        EndFrame(terminal, instance);
        return FailureExitStatus;
    }
    ApplySettings(terminal, &showCommand);
    Refilter(terminal);
    ShowWindow(window, showCommand);
    Layout(terminal.ui);
    UpdateWindow(window);
    if (!startingLog.empty()) {
        OpenLog(terminal, startingLog);
    }

    RunMessageLoop(terminal, instance, window);
    EndFrame(terminal, instance);
    return DoneExitStatus;
}
