#include "history_dialog.h"

#include <string>

#include "modal_dialog.h"
#include "terminal_resource_ids.h"
#include "terminal_settings.h"
#include "terminal_texts.h"
#include "wide_text.h"

namespace {

struct HistoryDialogState {
    size_t* lines;
    size_t* megabytes;

    void Fill(HWND dialog) const;
    bool Command(HWND dialog, int command);
};

// A whole number from low to high in the control; false for anything else.
bool ReadNumber(HWND dialog, int control, size_t low, size_t high, size_t* value)
{
    wchar_t text[16] = {};
    UINT length = GetDlgItemTextW(dialog, control, text, 16);
    if (length == 0 || length >= 15) {
        return false;
    }
    size_t number = 0;
    for (UINT i = 0; i < length; ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return false;
        }
        number = number * 10 + static_cast<size_t>(text[i] - L'0');
    }
    if (number < low || number > high) {
        return false;
    }
    *value = number;
    return true;
}

void Refuse(HWND dialog, int control, const char* format, size_t low, size_t high)
{
    std::string text = FillText(format, {std::to_string(low), std::to_string(high)});
    SetDlgItemTextW(dialog, HISTORY_ERROR_TEXT, Utf8ToWide(text).c_str());
    MessageBeep(MB_ICONWARNING);
    SetFocus(GetDlgItem(dialog, control));
}

void TryOk(HWND dialog, HistoryDialogState& state)
{
    size_t lines = 0;
    size_t megabytes = 0;
    if (!ReadNumber(dialog, HISTORY_LINES_EDIT, MinHistoryLines, MaxHistoryLines, &lines)) {
        Refuse(dialog, HISTORY_LINES_EDIT, HistoryLinesRefused, MinHistoryLines, MaxHistoryLines);
        return;
    }
    if (!ReadNumber(dialog, HISTORY_MEGABYTES_EDIT, MinHistoryMegabytes, MaxHistoryMegabytes, &megabytes)) {
        Refuse(dialog, HISTORY_MEGABYTES_EDIT, HistoryMegabytesRefused, MinHistoryMegabytes, MaxHistoryMegabytes);
        return;
    }
    *state.lines = lines;
    *state.megabytes = megabytes;
    EndDialog(dialog, IDOK);
}

void HistoryDialogState::Fill(HWND dialog) const
{
    SetDlgItemTextW(dialog, HISTORY_LINES_EDIT, std::to_wstring(*lines).c_str());
    SetDlgItemTextW(dialog, HISTORY_MEGABYTES_EDIT, std::to_wstring(*megabytes).c_str());
}

bool HistoryDialogState::Command(HWND dialog, int command)
{
    if (command != IDOK) {
        return false;
    }
    TryOk(dialog, *this);
    return true;
}

} // namespace

bool EditHistory(HWND owner, HINSTANCE instance, size_t* lines, size_t* megabytes)
{
    HistoryDialogState state = {lines, megabytes};
    return RunModalDialog(owner, instance, HISTORY_DIALOG, &state);
}
