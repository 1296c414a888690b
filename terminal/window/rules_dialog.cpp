#include "rules_dialog.h"

#include <commdlg.h>

#include <stdio.h>

#include <string>
#include <utility>
#include <vector>

#include "rule_cost.h"
#include "modal_dialog.h"
#include "rule_file.h"
#include "terminal_resource_ids.h"
#include "window_pace.h"
#include "wide_text.h"

namespace {

// The longest the dialog times the rules before it accepts them.
constexpr double CostBudgetMs = 300;

struct RulesDialogState {
    const LineEncoding* encoding;
    const std::vector<StoredLine>* sample;
    std::vector<Rule>* rules;
    RuleSet* compiled;
    std::wstring warnedText;  // the rules last warned of: OK with them unchanged uses them
    COLORREF customColours[16];

    void Fill(HWND dialog) const;
    bool Command(HWND dialog, int command);
};

std::wstring ControlText(HWND dialog, int control)
{
    HWND edit = GetDlgItem(dialog, control);
    int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(edit, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

void InsertColour(HWND dialog, RulesDialogState& state)
{
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = dialog;
    choose.lpCustColors = state.customColours;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    choose.rgbResult = RGB(0xFF, 0xFF, 0x80);
    if (!ChooseColorW(&choose)) {
        return;
    }
    wchar_t text[16];
    swprintf(text, 16, L"#%02X%02X%02X ", GetRValue(choose.rgbResult), GetGValue(choose.rgbResult),
             GetBValue(choose.rgbResult));
    SendDlgItemMessageW(dialog, RULES_EDIT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    SetFocus(GetDlgItem(dialog, RULES_EDIT));
}

// Moves the line the caret is on one line up (-1) or down (+1), the caret with it: the order of
// include and exclude rules decides.
void MoveCaretLine(HWND dialog, int direction)
{
    HWND edit = GetDlgItem(dialog, RULES_EDIT);
    std::wstring text = ControlText(dialog, RULES_EDIT);
    std::vector<std::wstring> lines;
    for (size_t at = 0;;) {
        size_t end = text.find(L"\r\n", at);
        lines.push_back(text.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at));
        if (end == std::wstring::npos) {
            break;
        }
        at = end + 2;
    }
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    int line = static_cast<int>(SendMessageW(edit, EM_LINEFROMCHAR, caret, 0));
    int target = line + direction;
    if (line < 0 || target < 0 || static_cast<size_t>(target) >= lines.size()) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    std::swap(lines[static_cast<size_t>(line)], lines[static_cast<size_t>(target)]);
    std::wstring moved;
    for (size_t i = 0; i < lines.size(); ++i) {
        moved += (i == 0 ? L"" : L"\r\n") + lines[i];
    }
    SetWindowTextW(edit, moved.c_str());
    LRESULT start = SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(target), 0);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), start);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    SetFocus(edit);
}

void SayInDialog(HWND dialog, const std::string& text)
{
    SetDlgItemTextW(dialog, RULES_ERROR_TEXT, Utf8ToWide(text).c_str());
    MessageBeep(MB_ICONWARNING);
    SetFocus(GetDlgItem(dialog, RULES_EDIT));
}

void TryOk(HWND dialog, RulesDialogState& state)
{
    std::wstring text = ControlText(dialog, RULES_EDIT);
    std::vector<Rule> rules;
    RuleSet compiled;
    std::string error;
    if (!CompileRuleText(WideToUtf8(text), *state.encoding, &rules, &compiled, &error)) {
        SayInDialog(dialog, error);
        return;
    }
    if (text != state.warnedText) {
        std::string warning =
            RuleCostWarning(rules, MeasureRuleCost(rules, *state.encoding, *state.sample, CostBudgetMs),
                            RefreshShareOfThread);
        if (!warning.empty()) {
            state.warnedText = text;
            SayInDialog(dialog, warning);
            return;
        }
    }
    *state.rules = std::move(rules);
    *state.compiled = std::move(compiled);
    EndDialog(dialog, IDOK);
}

void RulesDialogState::Fill(HWND dialog) const
{
    SetDlgItemTextW(dialog, RULES_EDIT, Utf8ToWide(FormatRuleText(*rules)).c_str());
}

bool RulesDialogState::Command(HWND dialog, int command)
{
    switch (command) {
    case IDOK: TryOk(dialog, *this); return true;
    case RULES_COLOUR_BUTTON: InsertColour(dialog, *this); return true;
    case RULES_UP_BUTTON: MoveCaretLine(dialog, -1); return true;
    case RULES_DOWN_BUTTON: MoveCaretLine(dialog, 1); return true;
    default: return false;
    }
}

} // namespace

bool CompileRuleText(const std::string& utf8, const LineEncoding& encoding, std::vector<Rule>* rules,
                     RuleSet* compiled, std::string* error)
{
    std::vector<Rule> parsed;
    if (!ParseRuleText(utf8, &parsed, error)) {
        return false;
    }
    RuleSet set;
    if (!set.Compile(parsed, encoding, error)) {
        return false;
    }
    *rules = std::move(parsed);
    *compiled = std::move(set);
    return true;
}

bool EditRules(HWND owner, HINSTANCE instance, const LineEncoding& encoding,
               const std::vector<StoredLine>& sample, std::vector<Rule>* rules, RuleSet* compiled)
{
    RulesDialogState state = {&encoding, &sample, rules, compiled, std::wstring(), {}};
    for (COLORREF& colour : state.customColours) {
        colour = RGB(0xFF, 0xFF, 0xFF);
    }
    return RunModalDialog(owner, instance, RULES_DIALOG, &state);
}
