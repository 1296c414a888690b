#include "window_files.h"

#include <shellapi.h>

#include "line_export.h"
#include "line_text.h"
#include "log_reader.h"
#include "rule_file.h"
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
    for (size_t row = 0; row < store.ShownCount(); ++row) {
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

// Reads a log into a view of its own, shown in place of the live lines (which go on arriving).
void OpenLog(TerminalWindow& t, const std::wstring& path)
{
    auto view = std::make_unique<LineView>();
    view->time.SetMode(t.live.view.time.Mode());
    view->store.SetFilter(t.live.view.store.Filter());
    view->store.SetJudge([&t](const StoredLine& line) { return JudgeLine(t, line); });
    uint64_t notices = 0;
    LogReadSummary summary;
    std::string error;
    bool read = ReadLogFile(path,
                            [&](LogEntry&& entry) {
                                if (entry.kind == LogEntryKind::DroppedNotice) {
                                    notices += entry.droppedCount;
                                    return;
                                }
                                view->time.Observe(entry.line);
                                view->store.Append(std::move(entry.line));
                            },
                            &summary, &error);
    if (!read) {
        ShowError(t, FillText(CannotOpenLog, {WideToUtf8(path), error}));
        return;
    }
    t.opened.view = std::move(view);
    t.opened.name = FileName(path);
    t.opened.notices = notices;
    t.opened.liveSince = 0;
    t.status.notice = SkippedLinesText(summary);
    ResetList(t);
    UpdateStatus(t);
}

void BackToLive(TerminalWindow& t)
{
    if (!t.opened.IsOpen()) {
        return;
    }
    t.opened.Close();
    t.status.notice.clear();
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

