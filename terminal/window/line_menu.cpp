#include "line_menu.h"

#include <commctrl.h>

#include "ansi_text.h"
#include "rule_file.h"
#include "terminal_resource_ids.h"
#include "terminal_texts.h"

namespace {

// How a task's name ends a line's start, as the library writes it.
constexpr std::string_view TaskSeparator = " : ";

// The selected line of the view shown; false when none is selected.
bool SelectedLine(TerminalWindow& t, StoredLine* line)
{
    const LineStore& store = ShownView(t).store;
    int row = ListView_GetNextItem(t.ui.list, -1, LVNI_SELECTED);
    if (row < 0 || static_cast<size_t>(row) >= store.ShownCount()) {
        return false;
    }
    *line = store.ShownLine(static_cast<size_t>(row));
    return true;
}

// The line's text as the rules match it, in UTF-8 as rules hold patterns.
std::string MatchedTextUtf8(const TerminalWindow& t, const StoredLine& line)
{
    std::string scratch;
    return AnsiToUtf8(MatchedText(line, &scratch), t.encoding.codePageNumber);
}

// A name as a process= wildcard: a rule's words end at a blank, which ? stands for.
std::string NameWildcard(std::string_view ansiName, const LineEncoding& encoding)
{
    std::string name = AnsiToUtf8(ansiName, encoding.codePageNumber);
    for (char& c : name) {
        if (c == ' ' || c == '\t' || c == '*' || c == '?') {
            c = '?';
        }
    }
    return name;
}

// Puts rule first, so that it decides before the other filters, and applies the rules; the
// status bar says whose lines are shown.
void ShowOnlyLinesOf(TerminalWindow& t, const Rule& rule, const std::string& whose)
{
    std::vector<Rule> rules = t.ruleList;
    rules.insert(rules.begin(), rule);
    RuleSet compiled;
    std::string error;
    if (!compiled.Compile(rules, t.encoding, &error)) {
        ShowError(t, error);
        return;
    }
    t.rulesFromCommandLine = false;
    UseRules(t, std::move(rules), std::move(compiled));
    t.status.notice = FillText(OnlyLinesOfShown, {whose});
    UpdateStatus(t);
}

} // namespace

void ShowLineMenu(TerminalWindow& t, LPARAM at)
{
    POINT point = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (at == -1) {
        int row = ListView_GetNextItem(t.ui.list, -1, LVNI_SELECTED);
        RECT rect = {};
        if (row < 0 || !ListView_GetItemRect(t.ui.list, row, &rect, LVIR_LABEL)) {
            GetClientRect(t.ui.list, &rect);
        }
        point = {rect.left, rect.bottom};
        ClientToScreen(t.ui.list, &point);
    }
    HMENU menu = LoadMenuW(t.instance, MAKEINTRESOURCEW(LINE_MENU));
    if (menu == NULL) {
        return;
    }
    // The commands come back to the frame as WM_COMMAND, as the menu bar's do.
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, point.x, point.y, 0, t.ui.frame, NULL);
    DestroyMenu(menu);
}

void AdjustRuleLikeSelected(TerminalWindow& t, RuleKind kind)
{
    StoredLine line;
    if (!SelectedLine(t, &line)) {
        return;
    }
    Rule rule;
    rule.kind = kind;
    rule.colour = kind == RuleKind::Highlight ? DefaultHighlightColour : 0;
    rule.pattern = MatchedTextUtf8(t, line);
    if (line.lineClass == LineClass::Ods) {
        rule.onlyClass = LineClass::Ods;
    }
    std::vector<Rule> rules = t.ruleList;
    rules.insert(rules.begin(), rule);
    OpenRulesDialog(t, std::move(rules));
}

void FilterBySelectedTask(TerminalWindow& t)
{
    StoredLine line;
    if (!SelectedLine(t, &line)) {
        return;
    }
    std::string text = MatchedTextUtf8(t, line);
    size_t end = text.find(TaskSeparator);
    if (end == 0 || end == std::string::npos) {
        t.status.notice = NoTaskToFilterBy;
        UpdateStatus(t);
        return;
    }
    std::string task = text.substr(0, end);
    Rule rule;
    rule.kind = RuleKind::Include;
    rule.syntax = PatternSyntax::RegularExpression;
    rule.caseSensitive = true;
    rule.pattern = "^" + LiteralExpression(task) + LiteralExpression(TaskSeparator);
    ShowOnlyLinesOf(t, rule, task);
}

void FilterBySelectedProcess(TerminalWindow& t)
{
    StoredLine line;
    if (!SelectedLine(t, &line)) {
        return;
    }
    if (line.lineClass != LineClass::Ods || line.processName.empty()) {
        t.status.notice = line.lineClass != LineClass::Ods ? NoProcessToFilterBy : ProcessNameUnknown;
        UpdateStatus(t);
        return;
    }
    Rule rule;
    rule.kind = RuleKind::Include;
    rule.process = NameWildcard(line.processName, t.encoding);
    ShowOnlyLinesOf(t, rule, rule.process);
}
