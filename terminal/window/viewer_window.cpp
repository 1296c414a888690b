#include "viewer_window.h"

#include "line_export.h"
#include "program_path.h"
#include "system_error_text.h"
#include "terminal_resource_ids.h"
#include "terminal_texts.h"
#include "wide_text.h"
#include "window_toolbar.h"

namespace {

constexpr int LiveOnlyCommands[] = {PAUSE_COMMAND, LIVE_VIEW_COMMAND, LOG_COMMAND, CAPTURE_ODS_COMMAND,
                                    CAPTURE_GLOBAL_COMMAND};

} // namespace

bool StartViewer(const std::wstring& path, std::string* error)
{
    std::wstring program = OwnProgramPath();
    if (program.empty()) {
        *error = SystemErrorText(GetLastError());
        return false;
    }
    // A path holds no quote, so quoting it is enough.
    std::wstring commandLine = L"\"" + program + L"\" --view \"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &started)) {
        *error = SystemErrorText(GetLastError());
        return false;
    }
    // The viewer runs on its own; nothing here waits for it.
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

void OpenInNewWindow(TerminalWindow& t)
{
    std::wstring path = AskPathToOpen(t.ui.frame, {OpenDialogTitle, LogFilter, NULL, NULL});
    std::string error;
    if (!path.empty() && !StartViewer(path, &error)) {
        ShowError(t, FillText(CannotStartViewer, {WideToUtf8(path), error}));
    }
}

void PrepareViewer(TerminalWindow& t)
{
    t.settings.placement.known = false;
    for (int command : LiveOnlyCommands) {
        EnableMenuItem(t.menu, static_cast<UINT>(command), MF_BYCOMMAND | MF_GRAYED);
        EnableToolbarButton(t.ui.toolbar, command, false);
    }
}

bool ViewerTakes(int command)
{
    for (int refused : LiveOnlyCommands) {
        if (command == refused) {
            return false;
        }
    }
    return true;
}

void NameViewedFile(TerminalWindow& t)
{
    const std::wstring& name = t.reading.Active() ? t.reading.name : t.opened.name;
    if (name.empty()) {
        return;
    }
    std::wstring title = Utf8ToWide(FillText(ViewerTitle, {WideToUtf8(name)}));
    if (title != t.viewerTitle) {
        t.viewerTitle = title;
        SetWindowTextW(t.ui.frame, title.c_str());
    }
}
