#include "window_capture.h"

#include "captured_lines.h"
#include "terminal_resource_ids.h"
#include "terminal_texts.h"
#include "window_toolbar.h"

namespace {

void CheckCaptureItems(TerminalWindow& t)
{
    bool session = t.capture.listeners.session.Listening();
    bool global = t.capture.listeners.global.Listening();
    CheckMenuItem(t.menu, CAPTURE_ODS_COMMAND, MF_BYCOMMAND | (session || global ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(t.menu, CAPTURE_GLOBAL_COMMAND, MF_BYCOMMAND | (global ? MF_CHECKED : MF_UNCHECKED));
    ShowToolbarCheck(t.ui.toolbar, CAPTURE_ODS_COMMAND, session || global);
}

} // namespace

void SetCapture(TerminalWindow& t, bool wanted, bool global)
{
    t.capture.listeners.Stop();
    wanted = wanted && !t.viewer;  // a viewer takes no lines
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
