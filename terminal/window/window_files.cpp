#include "window_files.h"

#include <shellapi.h>

#include "line_export.h"
#include "line_list_view.h"
#include "line_text.h"
#include "log_reader.h"
#include "rotating_output.h"
#include "rule_file.h"
#include "terminal_resource_ids.h"
#include "terminal_texts.h"
#include "wide_text.h"

namespace {

std::wstring FileName(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace

void SaveShown(TerminalWindow& t)
{
    std::wstring path = AskSavePath(t.ui.frame);
    if (path.empty()) {
        return;
    }
    const LineStore& store = ShownView(t).store;
    std::string text;
    int64_t day = NoDay;
    for (size_t row = 0; row < store.ShownCount(); ++row) {
        text += DateLineBefore(store.ShownLine(row), &day);
        text += FormatOutputLine(store.ShownLine(row));
    }
    t.savers.push_back(SaveLinesInBackground(path, std::move(text), store.ShownCount(), t.ui.frame, SavedMessage));
}

void ReportSaved(TerminalWindow& t, DWORD error, size_t lineCount)
{
    if (error != 0) {
        wchar_t text[160];
        swprintf(text, 160, SaveFailedFormat, static_cast<unsigned long>(error));
        MessageBoxW(t.ui.frame, text, ProgramTitle, MB_OK | MB_ICONERROR);
        return;
    }
    // A notice, not the whole bar: the next refresh would wipe the bar at once.
    t.status.notice = FillText(LinesSaved, {LineCount(lineCount)});
    UpdateStatus(t);
}

namespace {

constexpr unsigned NoSetIndex = 0;
// Reading takes at most this much of a timer tick; the live lines' own work is paced apart.
constexpr ULONGLONG ReadingTickMs = 30;
constexpr size_t EntriesBetweenClockLooks = 256;

bool FileExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// N for a path NAME.N of a rotated set (1 to MaxKeptFiles); NoSetIndex otherwise.
unsigned SetIndex(const std::wstring& path, std::wstring* base)
{
    size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot + 1 == path.size() || path.size() - dot - 1 > 4 || path[dot + 1] == L'0') {
        return NoSetIndex;
    }
    unsigned index = 0;
    for (size_t i = dot + 1; i < path.size(); ++i) {
        if (path[i] < L'0' || path[i] > L'9') {
            return NoSetIndex;
        }
        index = index * 10 + static_cast<unsigned>(path[i] - L'0');
    }
    *base = path.substr(0, dot);
    return index <= MaxKeptFiles ? index : NoSetIndex;
}

// The oldest old file NAME.N beside path; NoSetIndex when there is none.
unsigned OldestOfSet(const std::wstring& path)
{
    unsigned oldest = NoSetIndex;
    for (unsigned index = 1; index <= MaxKeptFiles; ++index) {
        if (FileExists(path + L"." + std::to_wstring(index))) {
            oldest = index;
        }
    }
    return oldest;
}

// What opening path reads, oldest first: NAME.N down to NAME for a member of a rotated set (NAME
// itself only when the user chooses the whole set), else path alone.
std::vector<std::wstring> MembersToRead(TerminalWindow& t, const std::wstring& path)
{
    std::wstring base;
    unsigned from = SetIndex(path, &base);
    if (from == NoSetIndex || !FileExists(base)) {
        base = path;
        from = OldestOfSet(path);
        if (from == NoSetIndex) {
            return {path};
        }
        std::wstring question = Utf8ToWide(FillText(
            OpenWholeSetQuestion, {WideToUtf8(FileName(path)), WideToUtf8(FileName(path)) + "." + std::to_string(from)}));
        if (MessageBoxW(t.ui.frame, question.c_str(), ProgramTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) {
            return {path};
        }
    }
    std::vector<std::wstring> members;
    for (unsigned index = from; index >= 1; --index) {
        members.push_back(base + L"." + std::to_wstring(index));
    }
    members.push_back(base);
    return members;
}

void MakeOpenedView(TerminalWindow& t)
{
    auto view = std::make_unique<LineView>();
    view->time.SetMode(t.live.view.time.Mode());
    view->time.SetShowDates(t.live.view.time.ShowsDates());
    view->store.SetFilter(t.live.view.store.Filter());
    view->store.SetLimits(t.historyLines, HistoryDropBlock(t.historyLines), t.historyMegabytes * MegabyteBytes);
    view->store.SetJudge([&t](const StoredLine& line) { return JudgeLine(t, line); });
    t.opened.Close();
    t.opened.view = std::move(view);
    t.opened.name = t.reading.name;
    t.reading.viewMade = true;
    ResetList(t);
}

void ShowReadingMenu(TerminalWindow& t)
{
    EnableMenuItem(t.menu, STOP_READING_COMMAND, MF_BYCOMMAND | (t.reading.Active() ? MF_ENABLED : MF_GRAYED));
}

// The read has ended and everything it read is stored: what is said of it.
void EndReading(TerminalWindow& t)
{
    const OpeningOutcome& outcome = t.reading.opening->Outcome();
    if (!t.reading.viewMade && !outcome.error.empty()) {
        std::string text = FillText(CannotOpenLog, {WideToUtf8(t.reading.path), outcome.error});
        t.reading.End();
        ShowReadingMenu(t);
        UpdateStatus(t);
        ShowError(t, text);
        return;
    }
    if (!t.reading.viewMade) {
        MakeOpenedView(t);  // an empty log, or one stopped before its first line
    }
    std::vector<std::string> said;
    std::string name = WideToUtf8(t.reading.name);
    if (outcome.stopped) {
        said.push_back(FillText(ReadingStopped, {name, LineCount(outcome.summary.entries)}));
    } else if (!outcome.error.empty()) {
        said.push_back(FillText(ReadingFailed, {name, outcome.error}));
    }
    const LineStore& store = t.opened.view->store;
    if (store.DroppedCount() != 0) {
        said.push_back(FillText(ReadingLeftOut, {LinesAre(store.DroppedCount()), Number(store.Capacity())}));
    }
    std::string skipped = SkippedLinesText(outcome.summary);
    if (!skipped.empty()) {
        said.push_back(skipped);
    }
    for (const std::string& problem : outcome.memberProblems) {
        said.push_back(problem);
    }
    std::string notice;
    for (const std::string& part : said) {
        notice += (notice.empty() ? "" : "; ") + part;
    }
    if (!notice.empty()) {
        t.status.notice = notice;
    }
    t.reading.End();
    ShowReadingMenu(t);
    ResetList(t);
    UpdateStatus(t);
}

} // namespace

// Starts reading a log on its thread; its view replaces the shown one once its first line is in.
void OpenLog(TerminalWindow& t, const std::wstring& path)
{
    std::vector<std::wstring> members = MembersToRead(t, path);
    t.reading.End();  // a read under way is stopped, what it read stays shown
    t.reading.path = path;
    t.reading.name = FileName(path);
    t.reading.opening = std::make_unique<LogOpening>(std::move(members));
    t.status.notice.clear();
    t.status.findNotice.clear();
    ShowReadingMenu(t);
    UpdateStatus(t);
}

void StopReading(TerminalWindow& t)
{
    if (t.reading.Active()) {
        t.reading.opening->Stop();
    }
}

void ContinueReading(TerminalWindow& t)
{
    LogReading& reading = t.reading;
    if (!reading.Active()) {
        return;
    }
    ULONGLONG began = GetTickCount64();
    // Taken only once what was taken before is stored, so that the thread, which waits while
    // too much waits to be taken, bounds what is held. Asked before taking: once the thread has
    // ended, this take gets the last of what it read.
    bool ended = false;
    if (reading.takenNext == reading.taken.size()) {
        reading.taken.clear();
        reading.takenNext = 0;
        ended = reading.opening->Ended();
        reading.opening->Take(&reading.taken);
    }
    if (!reading.viewMade && reading.takenNext < reading.taken.size()) {
        MakeOpenedView(t);
    }
    bool reset = false;
    size_t stored = 0;
    while (reading.takenNext < reading.taken.size()) {
        if (++stored % EntriesBetweenClockLooks == 0 && GetTickCount64() - began >= ReadingTickMs) {
            break;
        }
        LogEntry& entry = reading.taken[reading.takenNext++];
        if (entry.kind == LogEntryKind::DroppedNotice) {
            t.opened.notices += entry.droppedCount;
            continue;
        }
        t.opened.view->time.Observe(entry.line);
        reset |= t.opened.view->store.Append(std::move(entry.line));
    }
    if (ended && reading.takenNext == reading.taken.size()) {
        EndReading(t);
        return;
    }
    if (reading.viewMade) {
        if (reset) {
            ResetList(t);
        } else {
            ExtendLineList(t.ui.list, t.opened.view->store);
        }
    }
    UpdateStatus(t);
}

void BackToLive(TerminalWindow& t)
{
    if (!t.opened.IsOpen() && !t.reading.Active()) {
        return;
    }
    t.reading.End();
    ShowReadingMenu(t);
    t.opened.Close();
    t.status.notice.clear();
    t.status.findNotice.clear();
    ResetList(t);
    ReactToFollow(t, t.follow.Handle(FollowEvent::WentToEnd));
    UpdateStatus(t);
}

void OnDropFiles(TerminalWindow& t, HDROP drop)
{
    UINT length = DragQueryFileW(drop, 0, NULL, 0);
    std::wstring path(static_cast<size_t>(length) + 1, L'\0');
    UINT got = DragQueryFileW(drop, 0, &path[0], length + 1);
    DragFinish(drop);
    path.resize(got);
    if (!path.empty()) {
        OpenLog(t, path);
    }
}

void ImportRules(TerminalWindow& t)
{
    std::wstring path = AskPathToOpen(t.ui.frame, {ImportRulesTitle, RulesDialogFilter, NULL, NULL});
    if (path.empty()) {
        return;
    }
    std::vector<Rule> rules;
    RuleSet compiled;
    std::string error;
    if (!ReadRuleFile(path, &rules, &error) || !compiled.Compile(rules, t.encoding, &error)) {
        ShowError(t, FillText(CannotUseRulesFile, {WideToUtf8(path), error}));
        return;
    }
    t.rulesFromCommandLine = false;
    t.status.notice = FillText(RulesImported, {RuleCount(rules.size())});
    UseRules(t, std::move(rules), std::move(compiled));
}

void ExportRules(TerminalWindow& t)
{
    std::wstring path =
        AskPathToSave(t.ui.frame, {ExportRulesTitle, RulesDialogFilter, RulesDefaultName, RulesDefaultExtension});
    if (path.empty()) {
        return;
    }
    std::string error;
    if (!WriteRuleFile(path, t.ruleList, &error)) {
        ShowError(t, error);
        return;
    }
    t.status.notice = FillText(RulesExported, {RuleCount(t.ruleList.size())});
    UpdateStatus(t);
}

