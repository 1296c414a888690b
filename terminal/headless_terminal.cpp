#include "headless_terminal.h"

#include <memory>
#include <string>

#include "incoming_queue.h"
#include "output_writer.h"
#include "syslog_forwarding.h"
#include "system_error_text.h"
#include "terminal_protocol.h"
#include "terminal_session.h"
#include "terminal_texts.h"

namespace {

constexpr DWORD CtrlFlushWaitMs = 10000;

// What the window procedure and the console's control handler share with the running terminal.
IncomingQueue* ReceivedLines = NULL;
HWND HeadlessWindow = NULL;
HANDLE WrittenEvent = NULL;  // set once everything is written
HANDLE StopRequestEvent = NULL;
SyslogForwarding* Forwarding = NULL;  // NULL without --forward

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
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
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

HANDLE OpenOutputFile(const std::wstring& path)
{
    // Others may read (and even delete) the file while lines are still arriving.
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

// Where the lines go: the file named, else standard output. NULL, the user told why, when neither
// can be had; *owned tells whether the handle is the caller's to close.
HANDLE OpenOutput(const TerminalOptions& options, const StandardStreams& streams, bool* owned)
{
    *owned = false;
    if (options.outputPath.empty()) {
        if (streams.output == NULL) {
            TellUser(streams, NoStandardOutput);
        }
        return streams.output;
    }
    HANDLE output = OpenOutputFile(options.outputPath);
    if (output == INVALID_HANDLE_VALUE) {
        TellUser(streams, CannotOpenOutputFile + SystemErrorText(GetLastError()));
        return NULL;
    }
    *owned = true;
    return output;
}

// Takes lines until the window is closed; false when some could not be written.
bool ReceiveUntilClosed(IncomingQueue& queue, HANDLE output)
{
    OutputWriter writer(queue, output);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return writer.Finish();
}

} // namespace

int RunHeadlessTerminal(HINSTANCE instance, const TerminalOptions& options, const StandardStreams& streams)
{
    // Claimed before the output is opened, so that a refused second terminal never empties the
    // running one's file.
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

    IncomingQueue queue(WaitingLineLimit);
    ReceivedLines = &queue;
    bool ownsOutput = false;
    HANDLE output = OpenOutput(options, streams, &ownsOutput);
    if (output == NULL) {
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
            if (!ReceiveUntilClosed(queue, output)) {
                TellUser(streams, SomeLinesNotWritten);
                status = FailureExitStatus;
            }
        }
        if (forwarding) {
            forwarding->Finish();  // what a collector did not get is told; the exit status stays
            Forwarding = NULL;
        }
    }
    if (ownsOutput) {
        CloseHandle(output);
    }
    StopRequestEvent = NULL;
    session.End();
    SetEvent(WrittenEvent);
    return status;
}
