#include "window_state.h"

#include <commctrl.h>

#include <algorithm>

#include "terminal_texts.h"
#include "viewer_window.h"
#include "window_look.h"
#include "wide_text.h"

namespace {

int RowCount(TerminalWindow& t)
{
    return static_cast<int>(ShownView(t).store.ShownCount());
}

} // namespace

void LiveLines::TakeArrived()
{
    if (StillArriving() != 0) {
        return;
    }
    arriving.clear();
    arrivingNext = 0;
    TakeEverythingWaiting();
}

void LiveLines::TakeEverythingWaiting()
{
    if (arriving.empty()) {
        lostWhileWaiting += receiver.Queue().TakeAll(&arriving);
        return;
    }
    std::vector<ReceivedLine> more;
    lostWhileWaiting += receiver.Queue().TakeAll(&more);
    for (ReceivedLine& line : more) {
        arriving.push_back(std::move(line));
    }
}

void LiveLines::Hold(ReceivedLine&& line)
{
    if (line.lineClass == LineClass::ClearMarker) {
        clearedWhileHeld = true;  // what is held now would be cleared on resume anyway
    }
    held.Append(std::move(line));
}

LineListLook Look(TerminalWindow& t)
{
    LineView& view = ShownView(t);
    return {&view.store, &view.time, &t.rules, &t.find.finder, t.find.currentLine, &t.look.palette};
}

LineMark JudgeLine(const TerminalWindow& t, const StoredLine& line)
{
    LineMark mark = t.rules.Mark(line);
    if ((mark & HiddenByRules) == 0 && !t.filter.rule.Shows(line)) {
        mark |= HiddenByRules;
    }
    return mark;
}

LineView& ShownView(TerminalWindow& t)
{
    return t.opened.IsOpen() ? *t.opened.view : t.live.view;
}

std::wstring ControlText(HWND control)
{
    int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(control, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

std::string Number(uint64_t value)
{
    return std::to_string(value);
}

void UpdateStatus(TerminalWindow& t)
{
    LineStore& store = ShownView(t).store;
    std::wstring text =
        std::to_wstring(store.ShownCount()) + (store.ShownCount() == 1 ? LineShownOf : LinesShownOf) +
        std::to_wstring(store.KeptCount()) + LinesKept;
    std::string more;
    if (t.opened.IsOpen()) {
        more += "; " + FillText(t.viewer ? ViewerStatusFile : StatusFileFormat,
                                {WideToUtf8(t.opened.name), LineCount(store.KeptCount())});
        if (t.opened.notices != 0) {
            more += "; " + FillText(StatusFileNotices, {LineCount(t.opened.notices)});
        }
        if (t.opened.liveSince != 0) {
            more += "; " + FillText(StatusLiveWaiting, {CountText(t.opened.liveSince, "live line", "live lines")});
        }
    } else {
        uint64_t lost = t.live.LostCount() - t.live.lostAtClear;
        if (lost != 0) {
            more += WideToUtf8(StatusSeparator) + Number(lost) + WideToUtf8(OldestDropped);
        }
        if (t.live.paused) {
            more += WideToUtf8(StatusSeparator) + WideToUtf8(PausedWaiting) + Number(t.live.held.KeptCount()) +
                    WideToUtf8(Waiting);
        } else {
            more += "; " + std::string(FollowModeText(t.follow.Mode()));
        }
        if (t.live.StillArriving() != 0) {
            more += "; " + FillText(StatusCatchingUp, {LineCount(t.live.StillArriving())});
        }
    }
    if (t.reading.Active()) {
        more += "; " + FillText(StatusReading, {WideToUtf8(t.reading.name), Number(t.reading.opening->Percent())});
    }
    if (t.log.Active()) {
        more += "; " + FillText(StatusLogging, {WideToUtf8(t.log.Path())});
    }
    if (!t.ruleList.empty()) {
        more += "; " + FillText(RulesInUse, {RuleCount(t.ruleList.size())});
    }
    if (store.BookmarkCount() != 0) {
        more += "; " + CountText(store.BookmarkCount(), "bookmark", "bookmarks");
    }
    if (store.Judging()) {
        more += "; " + FillText(StatusFiltering, {Number(store.JudgedPercent())});
    }
    if (store.ShowsAll()) {
        more += "; " + std::string(StatusAllLinesShown);
    }
    for (const std::string* notice : {&t.status.notice, &t.status.findNotice}) {
        if (!notice->empty()) {
            more += "; " + *notice;
        }
    }
    text += Utf8ToWide(more);
    if (t.viewer) {
        NameViewedFile(t);
    }
    if (text != t.status.text) {
        t.status.text = text;
        ShowStatusText(t);
    }
}

void ShowNewest(TerminalWindow& t)
{
    int count = RowCount(t);
    if (count > 0) {
        ListView_EnsureVisible(t.ui.list, count - 1, FALSE);
    }
}

void SelectRowInMiddle(TerminalWindow& t, int row)
{
    HWND list = t.ui.list;
    t.selectingRows = true;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    int top = ListView_GetTopIndex(list);
    int page = ListView_GetCountPerPage(list);
    RECT rect = {};
    if (page > 2 && (row <= top || row >= top + page - 1) && ListView_GetItemRect(list, top, &rect, LVIR_BOUNDS)) {
        // The list scrolls by whole rows of this height.
        int wantedTop = std::max(0, row - page / 2);
        ListView_Scroll(list, 0, (wantedTop - top) * (rect.bottom - rect.top));
    }
    ListView_EnsureVisible(list, row, FALSE);
    t.selectingRows = false;
    RememberTop(t);
}

void RememberTop(TerminalWindow& t)
{
    t.topLeft = ListView_GetTopIndex(t.ui.list);
}

// Shows the view's lines from scratch: after a clear, a drop, a filter change, a file.
void ResetList(TerminalWindow& t)
{
    t.selectingRows = true;
    ResetLineList(t.ui.list, ShownView(t).store);
    t.find.found.Restart();  // the rows it counted are other rows now
    t.selectingRows = false;
    RememberTop(t);
}

void ReactToFollow(TerminalWindow& t, FollowReaction reaction)
{
    if (reaction == FollowReaction::ShowNewest) {
        ShowNewest(t);
    }
}

// Applies the rules and the quick filter to every kept line again, and to those that come.
void ChangeShownLines(TerminalWindow& t, const std::function<void()>& change)
{
    const LineStore& store = ShownView(t).store;
    int selected = ListView_GetNextItem(t.ui.list, -1, LVNI_SELECTED);
    bool hadSelection = selected >= 0 && static_cast<size_t>(selected) < store.ShownCount();
    size_t kept = hadSelection ? store.KeptIndexOfShown(static_cast<size_t>(selected)) : 0;
    change();
    ResetList(t);
    if (!hadSelection || store.ShownCount() == 0) {
        return;
    }
    size_t row = store.ShownRowAtOrBefore(kept);
    int shown = static_cast<int>(row == NoShownRow ? 0 : row);
    t.selectingRows = true;
    ListView_SetItemState(t.ui.list, shown, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (t.opened.IsOpen() || !t.follow.Following()) {
        ListView_EnsureVisible(t.ui.list, shown, FALSE);
    }
    t.selectingRows = false;
    RememberTop(t);
}

void Refilter(TerminalWindow& t)
{
    auto judge = [&t](const StoredLine& line) { return JudgeLine(t, line); };
    t.live.view.store.BeginJudging(judge);
    if (t.opened.IsOpen()) {
        t.opened.view->store.BeginJudging(judge);
    }
    ContinueFiltering(t);
}

void ContinueFiltering(TerminalWindow& t)
{
    ULONGLONG began = GetTickCount64();
    LineStore* stores[] = {&t.live.view.store, t.opened.IsOpen() ? &t.opened.view->store : nullptr};
    for (LineStore* store : stores) {
        while (store != nullptr && store->Judging()) {
            if (store->JudgeSome(JudgeSliceLines)) {
                if (store == &ShownView(t).store) {
                    ChangeShownLines(t, [store] { store->FinishJudging(); });
                } else {
                    store->FinishJudging();
                }
            } else if (GetTickCount64() - began >= TickWorkMs) {
                UpdateStatus(t);
                return;
            }
        }
    }
    UpdateStatus(t);
}

void UseRules(TerminalWindow& t, std::vector<Rule> rules, RuleSet compiled)
{
    t.ruleList = std::move(rules);
    t.rules = std::move(compiled);
    Refilter(t);
}

void UseHistory(TerminalWindow& t, size_t lines, size_t megabytes)
{
    t.historyLines = lines;
    t.historyMegabytes = megabytes;
    t.live.held.SetLimits(lines, HistoryDropBlock(lines), megabytes * MegabyteBytes);
    bool dropped = t.live.view.store.SetLimits(lines, HistoryDropBlock(lines), megabytes * MegabyteBytes);
    if (t.ui.list == NULL) {
        return;  // before the window is made: nothing shown yet
    }
    if (dropped && !t.opened.IsOpen()) {
        ResetList(t);
    }
    UpdateStatus(t);
}

void ShowError(TerminalWindow& t, const std::string& text)
{
    MessageBoxW(t.ui.frame, Utf8ToWide(text).c_str(), ProgramTitle, MB_OK | MB_ICONERROR);
}
