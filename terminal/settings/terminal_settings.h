// What the window remembers per user from one run to the next, kept in the registry under
// HKEY_CURRENT_USER\<key> (DefaultSettingsKey; tests give a key of their own). A value that is
// missing, of the wrong type or out of range leaves its default and is reported; nothing read
// from the registry can make loading fail.
//
// Values: WindowLeft, WindowTop, WindowWidth, WindowHeight (REG_DWORD, signed), WindowMaximized,
// ColumnTime, ColumnClass, ColumnText, ColumnProcess and ColumnDpi (REG_DWORD), TimeMode (REG_SZ: clock,
// since-start, since-previous), ShownClasses (REG_SZ: class names separated by commas), Rules
// (REG_SZ: the rule file text), AlwaysOnTop, ShowDates, CaptureOutputDebugString, FindMatchCase,
// FindRegularExpression and Toolbar (REG_DWORD 0 or 1), HistoryLines and HistoryMegabytes
// (REG_DWORD: how many lines the window keeps, in at most how much memory), FontFace (REG_SZ),
// FontPoints, FontWeight, FontItalic and FontZoomPoints (REG_DWORD: the list's font as chosen, and
// the size it is zoomed to), Theme (REG_SZ: system, light, dark).
#pragma once

#include <string>
#include <vector>

#include "line_rules.h"
#include "line_store.h"
#include "time_column.h"

constexpr wchar_t DefaultSettingsKey[] = L"Software\\Vornak\\DebugTerminal";

// What no saved value can exceed (the system's limits for window coordinates).
constexpr int MaxCoordinate = 32767;
constexpr int MinWindowSize = 100;
constexpr int MaxColumnWidth = 10000;
// The list's columns, by number: time, class, text, process (shown before the text).
constexpr int ListColumnCount = 4;

// The window keeps the newest lines up to whichever of these comes first.
constexpr size_t DefaultHistoryLines = 2000000;
constexpr size_t MinHistoryLines = 10000;
constexpr size_t MaxHistoryLines = 50000000;
constexpr size_t DefaultHistoryMegabytes = 1024;
constexpr size_t MinHistoryMegabytes = 16;
constexpr size_t MaxHistoryMegabytes = 65536;

// The list's font: a fixed-pitch face by default, so that numbers in columns line up. Its size
// is chosen and zoomed within these bounds.
constexpr char DefaultFontFace[] = "Consolas";
constexpr size_t MaxFontFaceLength = 31;  // LF_FACESIZE less its null
constexpr int DefaultFontPoints = 10;
constexpr int MinFontPoints = 6;
constexpr int MaxFontPoints = 48;
constexpr int NormalFontWeight = 400;  // FW_NORMAL
constexpr int MaxFontWeight = 1000;

struct ListFontSetting {
    std::string face = DefaultFontFace;  // UTF-8
    int points = DefaultFontPoints;
    int weight = NormalFontWeight;
    bool italic = false;

    bool operator==(const ListFontSetting& other) const
    {
        return face == other.face && points == other.points && weight == other.weight && italic == other.italic;
    }
};

// The window's colours: the system's app mode, or light or dark whatever it is.
enum class ThemeChoice { System, Light, Dark };

struct WindowPlacementSetting {
    bool known = false;  // false: the system places the window
    int left = 0;        // the restored (normal) position, in the coordinates GetWindowPlacement uses
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
};

struct TerminalSettings {
    WindowPlacementSetting placement;
    // Time, class, text and process column widths in pixels at columnDpi; 0 where not known.
    int columnWidths[ListColumnCount] = {0, 0, 0, 0};
    unsigned columnDpi = 96;
    TimeMode timeMode = TimeMode::Clock;
    ClassFilter shownClasses;
    std::vector<Rule> rules;
    bool alwaysOnTop = false;
    bool showDates = false;
    bool captureOds = true;  // what programs write with OutputDebugString, beside the hosts' lines
    bool findMatchCase = false;
    bool findRegularExpression = false;
    bool showToolbar = true;
    size_t historyLines = DefaultHistoryLines;
    size_t historyMegabytes = DefaultHistoryMegabytes;
    ListFontSetting listFont;
    int zoomPoints = DefaultFontPoints;  // the list's font size now; listFont.points when not zoomed
    ThemeChoice theme = ThemeChoice::System;

    bool operator==(const TerminalSettings& other) const;
};

// Reads the settings under HKEY_CURRENT_USER\keyPath into *settings, which starts from the
// defaults. *problems (may be null) gets one text for each value that was there but unusable.
// A missing key gives the defaults and no problems.
void LoadTerminalSettings(const std::wstring& keyPath, TerminalSettings* settings, std::vector<std::string>* problems);

// Writes every value, creating the key. False with *error when the key cannot be created or a
// value cannot be written.
bool SaveTerminalSettings(const std::wstring& keyPath, const TerminalSettings& settings, std::string* error);
