#include "window_capture.h"

#include "ansi_text.h"
#include "captured_lines.h"
#include "terminal_resource_ids.h"
#include "terminal_texts.h"

namespace {

void CheckCaptureItems(TerminalWindow& t)
{
    bool session = t.capture.listeners.session.Listening();
    bool global = t.capture.listeners.global.Listening();
    CheckMenuItem(t.menu, CAPTURE_ODS_COMMAND, MF_BYCOMMAND | (session || global ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(t.menu, CAPTURE_GLOBAL_COMMAND, MF_BYCOMMAND | (global ? MF_CHECKED : MF_UNCHECKED));
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

} // namespace

void SetCapture(TerminalWindow& t, bool wanted, bool global)
{
    t.capture.listeners.Stop();
    t.capture.wanted = wanted;
    t.capture.global = wanted && global;
    if (wanted) {
        IncomingQueue* queue = &t.live.receiver.Queue();
        std::vector<std::string> refusals;
        t.capture.listeners.Start(
            t.capture.global,
            [queue](CapturedText&& text) {
                for (ReceivedLine& line : CapturedLines(std::move(text))) {
                    queue->Push(std::move(line));
                }
            },
            &refusals);
        if (!refusals.empty()) {
            t.status.notice = refusals.back();
        }
    }
    CheckCaptureItems(t);
    UpdateStatus(t);
}

void StopCapture(TerminalWindow& t)
{
    t.capture.listeners.Stop();
}

void FilterBySelectedProcess(TerminalWindow& t)
{
    const LineStore& store = ShownView(t).store;
    int row = ListView_GetNextItem(t.ui.list, -1, LVNI_SELECTED);
    if (row < 0 || static_cast<size_t>(row) >= store.ShownCount()) {
        return;
    }
    StoredLine line = store.ShownLine(static_cast<size_t>(row));
    if (line.lineClass != LineClass::Ods || line.processName.empty()) {
        t.status.notice = line.lineClass != LineClass::Ods ? NoProcessToFilterBy : ProcessNameUnknown;
        UpdateStatus(t);
        return;
    }
    Rule rule;
    rule.kind = RuleKind::Include;
    rule.process = NameWildcard(line.processName, t.encoding);
    std::vector<Rule> rules = t.ruleList;
    rules.insert(rules.begin(), rule);  // first, so that it decides before the other filters
    RuleSet compiled;
    std::string error;
    if (!compiled.Compile(rules, t.encoding, &error)) {
        ShowError(t, error);
        return;
    }
    t.rulesFromCommandLine = false;
    UseRules(t, std::move(rules), std::move(compiled));
    t.status.notice = FillText(OnlyLinesOfShown, {rule.process});
    UpdateStatus(t);
}
