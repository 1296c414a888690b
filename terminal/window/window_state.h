// What the terminal's window holds: its parts (the live lines, an opened log, the find bar, the
// filter box, the status line), its rules, follow state, settings and controls; and what every
// part of the window does with them: show the lines again, say the state in the status bar,
// follow, apply rules.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "debug_output_listener.h"
#include "line_encoding.h"
#include "follow_state.h"
#include "found_rows.h"
#include "line_receiver.h"
#include "line_find.h"
#include "line_list_view.h"
#include "line_rules.h"
#include "line_store.h"
#include "log_opening.h"
#include "terminal_settings.h"
#include "time_column.h"
#include "window_layout.h"
#include "window_log.h"
#include "window_theme.h"

// The newest lines kept in memory up to the history's depth and memory bound; beyond either the
// oldest tenth goes at once (see LineStore).
constexpr size_t HistoryDropBlock(size_t lines) { return lines / 10; }
constexpr size_t MegabyteBytes = 1024 * 1024;
// Storing, judging and filtering take at most this long a tick (at least one line); the rest
// waits, and the status bar says so.
constexpr ULONGLONG TickWorkMs = 25;
// Lines judged between two looks at the clock while filtering.
constexpr size_t JudgeSliceLines = 4096;
// Posted by a finished save (wParam: the system error, lParam: the number of lines).
constexpr UINT SavedMessage = WM_APP + 1;

// Lines with their own time column: the live lines, or a log opened from a file.
struct LineView {
    LineStore store{DefaultHistoryLines, HistoryDropBlock(DefaultHistoryLines), DefaultHistoryMegabytes * MegabyteBytes};
    TimeColumn time;
};

// The live lines: what the receiver took, what waits to be stored, what waits while paused.
struct LiveLines {
    LineReceiver receiver{WaitingLineLimit};  // the hosts' lines arrive on its thread
    // Lines taken from the receiver and not yet stored (the rules cost more than a tick had).
    std::vector<ReceivedLine> arriving;
    size_t arrivingNext = 0;
    LineView view;
    // Lines that arrived while the view was paused, shown on resume; bounded as the view is.
    LineStore held{DefaultHistoryLines, HistoryDropBlock(DefaultHistoryLines), DefaultHistoryMegabytes * MegabyteBytes};
    bool clearedWhileHeld = false;  // a clear arrived while paused: the view is cleared on resume
    uint64_t lostWhileWaiting = 0;
    uint64_t lostAtClear = 0;  // of LostCount: the status bar counts those since the last clear
    bool paused = false;

    // Every line dropped or lost since the start (the stores count on through clears).
    uint64_t LostCount() const { return view.store.DroppedCount() + lostWhileWaiting + held.DroppedCount(); }
    // The view was cleared: the lines lost before it are no longer said.
    void ForgetLosses() { lostAtClear = LostCount(); }

    // Takes what the receiver holds once everything taken before is stored.
    void TakeArrived();
    // Takes what the receiver holds now, behind what waits to be stored.
    void TakeEverythingWaiting();
    size_t StillArriving() const { return arriving.size() - arrivingNext; }
    // Keeps a line that arrived while paused (a clear empties what waits: all of it would go).
    void Hold(ReceivedLine&& line);
};

// A log opened from a file, shown in place of the live lines (which go on arriving).
struct OpenedLog {
    std::unique_ptr<LineView> view;
    std::wstring name;
    uint64_t notices = 0;    // lines the file says were lost
    uint64_t liveSince = 0;  // live lines that arrived while the file was shown

    bool IsOpen() const { return view != nullptr; }
    void Close() { *this = OpenedLog(); }
};

// A log being read on its thread, and what of it waits to be stored. Its view is made, and shown
// in place of the one shown before, once the first line arrives (or the read ends well): a file
// that is not a log leaves the view as it was.
struct LogReading {
    std::unique_ptr<LogOpening> opening;
    std::wstring path;
    std::wstring name;
    std::vector<LogEntry> taken;
    size_t takenNext = 0;
    bool viewMade = false;

    bool Active() const { return opening != nullptr; }
    void End() { *this = LogReading(); }
};

constexpr uint64_t NoFoundLine = static_cast<uint64_t>(-1);

// The find bar's search (its controls are in WindowControls).
struct FindBar {
    LineFinder finder;
    FoundRows found;  // for "12 of 340"
    // The line the search last went to, by its number since the first line kept (which drops do
    // not change): its matches are drawn apart from the others.
    uint64_t currentLine = NoFoundLine;
    bool matchCase = false;          // remembered
    bool regularExpression = false;  // remembered
};

// What the filter box holds, as one include rule.
struct FilterBox {
    RuleSet rule;
};

// The status bar: what it shows, and a notice said once (after a search, an import, a file).
struct StatusLine {
    std::string notice;
    // The find bar's outcome: it goes with the bar, and with the lines it spoke of.
    std::string findNotice;
    std::wstring text;
    std::string unreadProblem;  // also shown in a message box when the user next acts
};

// View > Capture OutputDebugString (remembered) and View > Capture global (not: it needs
// elevation), taken into the live lines beside the hosts'.
struct OdsCapture {
    CaptureListeners listeners;
    bool wanted = true;   // what the user chose; a refused capture stays wanted
    bool global = false;
};

// View > Theme and what it gives: the palette everything is drawn with, and the brushes of the
// boxes and bars behind it.
struct WindowLook {
    ThemeChoice choice = ThemeChoice::System;
    Palette palette = LightPalette();
    bool titleBarDark = false;  // what the title bar was last asked for
    HBRUSH barBrush = NULL;
    HBRUSH boxBrush = NULL;
};

struct TerminalWindow {
    LiveLines live;
    OdsCapture capture;  // stops before the live lines' receiver, whose queue it feeds
    OpenedLog opened;
    LogReading reading;
    FindBar find;
    FilterBox filter;
    StatusLine status;
    WindowLog log;  // File > Log to file, --log FILE
    ULONGLONG nextRefresh = 0;  // tick count before which the list is not redrawn

    LineEncoding encoding = SystemLineEncoding();
    std::vector<Rule> ruleList;
    RuleSet rules;
    bool rulesFromCommandLine = false;  // not remembered unless the user changes them
    size_t historyLines = DefaultHistoryLines;
    size_t historyMegabytes = DefaultHistoryMegabytes;
    bool historyFromCommandLine = false;  // not remembered unless the user changes it
    FollowState follow;
    int topLeft = -1;          // the list's top row as the window last left it
    bool selectingRows = false;  // the window, not the user, changes the selection
    bool goingToEnd = false;     // End was pressed in the list

    // A saved log in a window of its own (--view): no lines taken, no settings written.
    bool viewer = false;
    std::wstring viewerTitle;
    std::wstring settingsKey;
    TerminalSettings settings;
    bool alwaysOnTop = false;

    HINSTANCE instance = NULL;
    const StandardStreams* streams = nullptr;
    WindowControls ui;
    WindowLook look;
    HMENU menu = NULL;
    std::vector<std::thread> savers;
};

// The view the list shows: the opened log, else the live lines.
LineView& ShownView(TerminalWindow& t);
// What the list draws the shown view with.
LineListLook Look(TerminalWindow& t);
// What the rules and the quick filter say of line (the class filter aside), as the line store
// keeps it: each line is judged once, when stored or when the rules change.
LineMark JudgeLine(const TerminalWindow& t, const StoredLine& line);

// The status bar: counts, follow state or opened file, rules, the last notice.
void UpdateStatus(TerminalWindow& t);
// Shows the view's lines from scratch (after a clear, a drop, a filter change, a file), the
// newest in view.
void ResetList(TerminalWindow& t);
void ShowNewest(TerminalWindow& t);
// A control's text.
std::wstring ControlText(HWND control);
// Selects row alone, as the window's own doing, and scrolls it to the middle of the list unless it
// is in view already away from the list's edges.
void SelectRowInMiddle(TerminalWindow& t, int row);
// Notes where the list's top row is, so that a later change is known to be the user's.
void RememberTop(TerminalWindow& t);
void ReactToFollow(TerminalWindow& t, FollowReaction reaction);
// Changes which lines the view shows (change does it) and shows them from scratch; the line the
// user selected stays selected, or else the nearest shown line before it, and in view unless the
// list follows new lines.
void ChangeShownLines(TerminalWindow& t, const std::function<void()>& change);
// Applies the rules and the quick filter to every kept line again, and to those that come: to the
// kept ones in slices (ContinueFiltering), the old rows shown until the new are ready.
void Refilter(TerminalWindow& t);
// Judges kept lines for at most a tick's work; the view whose judging ends shows its new rows.
void ContinueFiltering(TerminalWindow& t);
// Makes rules (compiled) the window's rules and applies them.
void UseRules(TerminalWindow& t, std::vector<Rule> rules, RuleSet compiled);
// Keeps lines and megabytes of history from now on: the oldest beyond them go at once.
void UseHistory(TerminalWindow& t, size_t lines, size_t megabytes);
// View > Rules, starting from rules (the window's own, or those with a rule added to adjust).
void OpenRulesDialog(TerminalWindow& t, std::vector<Rule> rules);
// A message box over the window (text in UTF-8).
void ShowError(TerminalWindow& t, const std::string& text);
// A number as the status bar writes it.
std::string Number(uint64_t value);
