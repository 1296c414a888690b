#include "window_toolbar.h"

#include <algorithm>
#include <vector>

#include "terminal_resource_ids.h"
#include "terminal_texts.h"
#include "wide_text.h"

namespace {

struct ToolbarButton {
    int command;
    const wchar_t* label;
    const wchar_t* tipName;
    BYTE style;
};

constexpr int Separator = 0;

// In the order shown; a separator between the view's commands and the capture.
constexpr ToolbarButton Buttons[] = {
    {PAUSE_COMMAND, ToolbarPause, ToolbarPause, BTNS_CHECK},
    {CLEAR_COMMAND, ToolbarClear, ToolbarClear, BTNS_BUTTON},
    {FIND_COMMAND, ToolbarFind, ToolbarFind, BTNS_BUTTON},
    {Separator, nullptr, nullptr, BTNS_SEP},
    {CAPTURE_ODS_COMMAND, ToolbarCapture, ToolbarCaptureTip, BTNS_CHECK},
};

const ToolbarButton* ButtonOf(int command)
{
    for (const ToolbarButton& button : Buttons) {
        if (button.command == command && command != Separator) {
            return &button;
        }
    }
    return nullptr;
}

// A virtual key as a tip names it; empty for one the tips do not name.
std::wstring KeyName(WORD key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::wstring(1, static_cast<wchar_t>(key));
    }
    if (key >= VK_F1 && key <= VK_F24) {
        return KeyFunction + std::to_wstring(key - VK_F1 + 1);
    }
    switch (key) {
    case VK_END: return KeyEnd;
    case VK_PAUSE: return KeyPause;
    case VK_ESCAPE: return KeyEscape;
    default: return std::wstring();
    }
}

// The first key of the table for command, as "Ctrl+Shift+L"; empty when it has none.
std::wstring KeyOf(HACCEL accelerators, int command)
{
    int count = accelerators == NULL ? 0 : CopyAcceleratorTableW(accelerators, NULL, 0);
    if (count <= 0) {
        return std::wstring();
    }
    std::vector<ACCEL> table(static_cast<size_t>(count));
    count = CopyAcceleratorTableW(accelerators, table.data(), count);
    for (int i = 0; i < count; ++i) {
        const ACCEL& entry = table[static_cast<size_t>(i)];
        if (entry.cmd != command || (entry.fVirt & FVIRTKEY) == 0) {
            continue;
        }
        std::wstring key = KeyName(entry.key);
        if (key.empty()) {
            continue;
        }
        std::wstring name;
        if ((entry.fVirt & FCONTROL) != 0) {
            name += KeyControl;
        }
        if ((entry.fVirt & FSHIFT) != 0) {
            name += KeyShift;
        }
        if ((entry.fVirt & FALT) != 0) {
            name += KeyAlt;
        }
        return name + key;
    }
    return std::wstring();
}

} // namespace

HWND CreateToolbar(HWND frame, HINSTANCE instance)
{
    // Placed by the window's layout in the filter box's row, not along the frame's top.
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, NULL,
                                   WS_CHILD | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                       CCS_NOPARENTALIGN | CCS_NODIVIDER,
                                   0, 0, 0, 0, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(TOOLBAR_CONTROL)),
                                   instance, NULL);
    if (toolbar == NULL) {
        return NULL;
    }
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Text buttons: no room kept for images, so the text follows the font at every DPI.
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    std::vector<TBBUTTON> buttons;
    for (const ToolbarButton& button : Buttons) {
        TBBUTTON made = {};
        made.iBitmap = button.style == BTNS_SEP ? 0 : I_IMAGENONE;
        made.idCommand = button.command;
        made.fsState = TBSTATE_ENABLED;
        made.fsStyle = static_cast<BYTE>(button.style | (button.style == BTNS_SEP ? 0 : BTNS_AUTOSIZE | BTNS_SHOWTEXT));
        made.iString = button.label == nullptr ? -1 : reinterpret_cast<INT_PTR>(button.label);
        buttons.push_back(made);
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return toolbar;
}

void SetToolbarFont(HWND toolbar, HFONT font)
{
    if (toolbar == NULL || font == NULL) {
        return;
    }
    SendMessageW(toolbar, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
}

void ShowToolbarCheck(HWND toolbar, int command, bool checked)
{
    if (toolbar != NULL && ButtonOf(command) != nullptr) {
        SendMessageW(toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(command), MAKELPARAM(checked ? TRUE : FALSE, 0));
    }
}

void EnableToolbarButton(HWND toolbar, int command, bool enabled)
{
    if (toolbar != NULL && ButtonOf(command) != nullptr) {
        SendMessageW(toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(enabled ? TRUE : FALSE, 0));
    }
}

std::wstring ToolbarTip(HACCEL accelerators, int command)
{
    const ToolbarButton* button = ButtonOf(command);
    if (button == nullptr) {
        return std::wstring();
    }
    std::wstring key = KeyOf(accelerators, command);
    if (key.empty()) {
        return button->tipName;
    }
    return Utf8ToWide(FillText(ToolbarTipWithKey, {WideToUtf8(button->tipName), WideToUtf8(key)}));
}

bool AnswerToolbarTip(HINSTANCE instance, NMHDR* header)
{
    if (header->code != TBN_GETINFOTIPW) {
        return false;
    }
    NMTBGETINFOTIPW* tip = reinterpret_cast<NMTBGETINFOTIPW*>(header);
    if (tip->pszText == NULL || tip->cchTextMax <= 0) {
        return true;
    }
    // Tables loaded from resources are the module's; they need no destroying.
    std::wstring text = ToolbarTip(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(TERMINAL_ACCELERATORS)), tip->iItem);
    size_t kept = std::min(text.size(), static_cast<size_t>(tip->cchTextMax) - 1);
    text.copy(tip->pszText, kept);
    tip->pszText[kept] = L'\0';
    return true;
}
