#include "window_find.h"

#include <commctrl.h>

#include "terminal_resource_ids.h"
#include "terminal_texts.h"
#include "wide_text.h"

namespace {

// What counting matches may take of a tick, and how many rows between two looks at the clock.
constexpr ULONGLONG CountingShareMs = 10;
constexpr size_t CountingSliceRows = 4096;

bool Checked(HWND box)
{
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The shown row of the line the search last went to; NoRow when it is not shown (or none).
size_t CurrentRow(TerminalWindow& t)
{
    const LineStore& store = ShownView(t).store;
    if (t.find.currentLine == NoFoundLine || t.find.currentLine < store.DroppedCount()) {
        return NoRow;
    }
    uint64_t kept = t.find.currentLine - store.DroppedCount();
    if (kept >= store.KeptCount()) {
        return NoRow;
    }
    size_t row = store.ShownRowAtOrBefore(static_cast<size_t>(kept));
    return row != NoShownRow && store.KeptIndexOfShown(row) == kept ? row : NoRow;
}

void SayMatchCount(TerminalWindow& t)
{
    std::string text;
    if (t.find.finder.Active()) {
        const LineStore& store = ShownView(t).store;
        size_t row = CurrentRow(t);
        size_t position = row == NoRow ? 0 : t.find.found.Position(row);
        std::string count = Number(t.find.found.Count());
        bool complete = t.find.found.Complete(store);
        if (position != 0) {
            text = FillText(complete ? FindPosition : FindPositionSoFar, {Number(position), count});
        } else if (t.find.found.Count() == 0) {
            text = complete ? FindNoMatch : FillText(FindCountSoFar, {count});
        } else {
            text = FillText(complete ? FindCount : FindCountSoFar, {count});
        }
    }
    std::wstring wide = Utf8ToWide(text);
    if (wide != ControlText(t.ui.findCount)) {
        SetWindowTextW(t.ui.findCount, wide.c_str());
    }
}

} // namespace

void ContinueCountingMatches(TerminalWindow& t)
{
    if (!t.find.finder.Active()) {
        return;
    }
    const LineStore& store = ShownView(t).store;
    ULONGLONG began = GetTickCount64();
    while (!t.find.found.CountSome(t.find.finder, store, CountingSliceRows) &&
           GetTickCount64() - began < CountingShareMs) {
    }
    SayMatchCount(t);
}

void Find(TerminalWindow& t, FindDirection direction, bool fromSelected)
{
    if (!t.find.finder.Active()) {
        return;
    }
    int selected = ListView_GetNextItem(t.ui.list, -1, LVNI_SELECTED);
    size_t from = NoRow;
    if (selected >= 0) {
        // Typing searches again from the row found so far; F3 goes on past it.
        from = static_cast<size_t>(selected);
        if (fromSelected) {
            from = from == 0 ? NoRow : from - 1;
        }
    }
    const LineStore& store = ShownView(t).store;
    FindResult found = t.find.finder.Find(store, from, direction);
    if (found.row == NoRow) {
        t.status.findNotice = FillText(FindNotFound, {WideToUtf8(ControlText(t.ui.findEdit))});
        t.find.currentLine = NoFoundLine;
        MessageBeep(MB_ICONWARNING);
    } else {
        t.status.findNotice = found.wrapped ? FindWrapped : "";
        t.find.currentLine = store.DroppedCount() + store.KeptIndexOfShown(found.row);
        if (!t.opened.IsOpen()) {
            t.follow.Handle(FollowEvent::LineSelected);
        }
        SelectRowInMiddle(t, static_cast<int>(found.row));
    }
    InvalidateRect(t.ui.list, NULL, FALSE);
    ContinueCountingMatches(t);
    UpdateStatus(t);
}

void OnFindTextChanged(TerminalWindow& t)
{
    std::string error;
    std::string text = WideToUtf8(ControlText(t.ui.findEdit));
    PatternSyntax syntax = t.find.regularExpression ? PatternSyntax::RegularExpression : PatternSyntax::PlainText;
    if (!t.find.finder.SetSearch(text, syntax, t.find.matchCase, t.encoding, &error)) {
        // A regular expression still being typed: the old search stays until it is whole.
        t.status.findNotice = error;
        UpdateStatus(t);
        return;
    }
    t.find.found.Restart();
    t.find.currentLine = NoFoundLine;
    t.status.findNotice.clear();
    InvalidateRect(t.ui.list, NULL, FALSE);
    SayMatchCount(t);
    Find(t, FindDirection::Next, true);
}

void SetFindOptions(TerminalWindow& t, bool matchCase, bool regularExpression)
{
    t.find.matchCase = matchCase;
    t.find.regularExpression = regularExpression;
    SendMessageW(t.ui.findCase, BM_SETCHECK, matchCase ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(t.ui.findRegex, BM_SETCHECK, regularExpression ? BST_CHECKED : BST_UNCHECKED, 0);
    CheckMenuItem(t.menu, FIND_MATCH_CASE_COMMAND, MF_BYCOMMAND | (matchCase ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(t.menu, FIND_REGEX_COMMAND, MF_BYCOMMAND | (regularExpression ? MF_CHECKED : MF_UNCHECKED));
}

void OnFindOption(TerminalWindow& t, int option, bool fromKey)
{
    HWND box = option == FIND_MATCH_CASE_CHECK ? t.ui.findCase : t.ui.findRegex;
    if (fromKey) {
        SendMessageW(box, BM_SETCHECK, Checked(box) ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    SetFindOptions(t, Checked(t.ui.findCase), Checked(t.ui.findRegex));
    if (t.ui.findShown) {
        OnFindTextChanged(t);
    }
}

void ShowFindBar(TerminalWindow& t, bool shown)
{
    t.ui.findShown = shown;
    for (HWND control : {t.ui.findLabel, t.ui.findEdit, t.ui.findCase, t.ui.findRegex, t.ui.findCount, t.ui.findClose}) {
        ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
    }
    Layout(t.ui);
    if (shown) {
        SendMessageW(t.ui.findEdit, EM_SETSEL, 0, -1);
        SetFocus(t.ui.findEdit);
    } else {
        std::string error;
        t.find.finder.SetSearch("", PatternSyntax::PlainText, false, t.encoding, &error);
        t.find.found.Restart();
        t.find.currentLine = NoFoundLine;
        t.status.findNotice.clear();
        SayMatchCount(t);
        InvalidateRect(t.ui.list, NULL, FALSE);
        SetFocus(t.ui.list);
        UpdateStatus(t);
    }
}
