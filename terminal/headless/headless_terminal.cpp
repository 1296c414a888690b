#include "headless_terminal.h"

#include <memory>
#include <string>

#include "arrival_time.h"
#include "captured_lines.h"
#include "headless_output.h"
#include "incoming_queue.h"
#include "output_writer.h"
#include "syslog_forwarding.h"
#include "system_error_text.h"
#include "terminal_protocol.h"
#include "terminal_session.h"
#include "terminal_texts.h"
#include "vornak_terminal_protocol.h"

namespace {

constexpr DWORD CtrlFlushWaitMs = 10000;

// What the window procedure and the console's control handler share with the running terminal.
IncomingQueue* ReceivedLines = NULL;
HWND HeadlessWindow = NULL;
HANDLE WrittenEvent = NULL;  // set once everything is written
HANDLE StopRequestEvent = NULL;
SyslogForwarding* Forwarding = NULL;  // NULL without --forward, and once finished
OutputWriter* Writer = NULL;          // NULL once finished
CaptureListeners* Capture = NULL;     // NULL without --capture-ods, and once finished
const StandardStreams* Streams = NULL;
bool LinesNotWritten = false;

// Tells the user about lines that could not be written; false when there were some.
bool ReportWriteOutcome(const WriteOutcome& outcome, const StandardStreams& streams)
{
    if (outcome.notWritten == 0 && !outcome.readerGone && outcome.lastFailure.empty()) {
        return true;
    }
    std::string count = LineCount(outcome.notWritten);
    if (outcome.readerGone) {
        TellUser(streams, FillText(LinesNotWrittenReaderGone, {count}));
    } else if (outcome.gaveUp) {
        TellUser(streams, FillText(LinesNotWrittenOutputStalled, {count, std::to_string(OutputStallLimitMs / 1000)}));
    } else {
        TellUser(streams, FillText(LinesNotWrittenError, {count, outcome.lastFailure}));
    }
    return false;
}

// Writes what waits, lets the collectors drain and tells what was lost, once: at the message
// loop's end, or at logoff or shutdown in WM_ENDSESSION, after which the system may end the
// process at any moment and waits only seconds for it. The collectors then get what is left of
// their drain once the output is written.
void FinishRun(bool sessionEnding)
{
    ULONGLONG began = GetTickCount64();
    // First, since its thread hands lines to the writer and the collectors.
    if (Capture != NULL) {
        Capture->Stop();
        Capture = NULL;
    }
    if (Writer != NULL) {
        LinesNotWritten = !ReportWriteOutcome(Writer->Finish(), *Streams);
        Writer = NULL;
    }
    if (Forwarding != NULL) {
        DWORD drainMs = ForwardDrainMs;
        if (sessionEnding) {
            ULONGLONG spent = GetTickCount64() - began;
            drainMs = spent < ForwardDrainMs ? ForwardDrainMs - static_cast<DWORD>(spent) : 0;
        }
        Forwarding->Finish(drainMs);  // what a collector did not get is told; the exit status stays
        Forwarding = NULL;
    }
}

LRESULT CALLBACK HeadlessWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ReceivedLine line;
    if (ReceiveTerminalMessage(message, wParam, lParam, &line)) {
        if (Forwarding != NULL) {
            Forwarding->Forward(line);
        }
        ReceivedLines->Push(std::move(line));
        return 0;
    }
    switch (message) {
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Logoff or shutdown: a program that made a window gets no console control event then.
        if (wParam != FALSE) {
            FinishRun(true);
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Runs on a thread of the console's: makes the terminal's own stop request (the window closes
// once it exists), then holds the process open until the lines are written (after a console
// close the system ends the process when this returns).
BOOL WINAPI OnConsoleControl(DWORD)
{
    if (StopRequestEvent == NULL || !SetEvent(StopRequestEvent)) {
        PostMessageW(HeadlessWindow, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(WrittenEvent, CtrlFlushWaitMs);
    return TRUE;
}

// The listeners' threads hand each captured line where the window procedure hands a host's.
void StartCapture(const HeadlessOptions& options, CaptureListeners* listeners, const StandardStreams& streams)
{
    std::vector<std::string> refusals;
    listeners->Start(
        options.captureGlobal,
        [](CapturedText&& text) {
            for (ReceivedLine& line : CapturedLines(std::move(text))) {
                if (Forwarding != NULL) {
                    Forwarding->Forward(line);
                }
                ReceivedLines->Push(std::move(line));
            }
        },
        &refusals);
    for (const std::string& refusal : refusals) {
        TellUser(streams, refusal);  // the hosts' lines are taken all the same
    }
    if (listeners->Listening()) {
        Capture = listeners;
    }
}

// Takes lines until the window is closed (also when the output's reader goes away or the session
// ends) and finishes the run; false when some lines could not be written.
bool ReceiveUntilClosed(const std::shared_ptr<IncomingQueue>& queue, const std::shared_ptr<OutputSink>& output,
                        const HeadlessOptions& options, const StandardStreams& streams)
{
    WriterHooks hooks;
    // Hosts learn it from the window's absence (status 2) rather than lose lines silently.
    hooks.readerGone = [] { PostMessageW(HeadlessWindow, WM_CLOSE, 0, 0); };
    hooks.tell = [streams](const std::string& problem) { TellUser(streams, problem); };
    OutputWriter writer(queue, output, LineFormatOf(options.format), hooks);
    if (!writer.Started()) {
        TellUser(streams, FillText(CannotStartWriter, {SystemErrorText(GetLastError())}));
        DestroyWindow(HeadlessWindow);
        return false;
    }
    Writer = &writer;
    CaptureListeners listeners;
    if (options.captureOds) {
        StartCapture(options, &listeners, streams);
    }
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    FinishRun(false);
    return !LinesNotWritten;
}

} // namespace

int RunHeadlessTerminal(HINSTANCE instance, const HeadlessOptions& options, const StandardStreams& streams)
{
    // Claimed before the output is opened, so that a refused second terminal never writes into
    // the running one's file.
    TerminalSession session(streams);
    int status = session.Begin();
    if (status != DoneExitStatus) {
        return status;
    }
    // Ctrl+C is heeded from here on; before the window exists it is kept as a stop request.
    WrittenEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    StopRequestEvent = session.StopRequest();
    if (streams.joinedConsole) {
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    }

    Streams = &streams;
    LinesNotWritten = false;
    auto queue = std::make_shared<IncomingQueue>(WaitingLineLimit);
    ReceivedLines = queue.get();
    std::shared_ptr<OutputSink> output = OpenHeadlessOutput(options, streams);
    if (output == nullptr) {
        status = FailureExitStatus;
    } else {
        // Before the window exists, so that every line it receives is forwarded.
        std::unique_ptr<SyslogForwarding> forwarding;
        if (!options.forwardTo.empty()) {
            forwarding = std::make_unique<SyslogForwarding>(options.forwardTo, options.forwardQueueLines, streams);
            Forwarding = forwarding.get();
        }
        WNDCLASSEXW windowClass = {};
        windowClass.lpfnWndProc = HeadlessWindowProc;
        windowClass.hInstance = instance;
        std::string filterRefusal;
        // Never shown.
        HeadlessWindow = session.CreateTerminalWindow(windowClass, HeadlessWindowTitle, WS_OVERLAPPED, CW_USEDEFAULT,
                                                      CW_USEDEFAULT, NULL, &filterRefusal);
        if (HeadlessWindow == NULL) {
            status = FailureExitStatus;
        } else {
            if (!filterRefusal.empty()) {
                TellUser(streams, LowerIntegrityLinesLost + filterRefusal);
            }
            if (!ReceiveUntilClosed(queue, output, options, streams)) {
                status = FailureExitStatus;
            }
            // A terminal started again in this process (as tests do) registers the class again.
            UnregisterClassW(VORNAK_TERMINAL_CLASS_W, instance);
        }
        FinishRun(false);  // when the writer could not start, the collectors still drain
    }
    // A file is closed here, unless a writer left behind in its write still holds it.
    output.reset();
    StopRequestEvent = NULL;
    session.End();
    SetEvent(WrittenEvent);
    return status;
}
