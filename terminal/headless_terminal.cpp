#include "headless_terminal.h"

#include <string>

#include "incoming_queue.h"
#include "instance_control.h"
#include "message_filter.h"
#include "output_writer.h"
#include "system_error_text.h"
#include "terminal_protocol.h"

namespace {

// Lines waiting for the writer beyond this are dropped and counted in the output: memory stays
// bounded when the output cannot keep up.
constexpr size_t WaitingLineLimit = 1000000;
constexpr DWORD CtrlFlushWaitMs = 10000;

TerminalMessageIds g_messages;
IncomingQueue* g_queue = NULL;
HWND g_window = NULL;
HANDLE g_finished = NULL;  // set once everything is written
HANDLE g_stopRequest = NULL;

LRESULT CALLBACK HeadlessWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ReceivedLine line;
    if (ReceiveTerminalMessage(g_messages, message, wParam, lParam, &line)) {
        g_queue->Push(std::move(line));
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
    if (g_stopRequest == NULL || !SetEvent(g_stopRequest)) {
        PostMessageW(g_window, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(g_finished, CtrlFlushWaitMs);
    return TRUE;
}

HANDLE OpenOutputFile(const std::wstring& path)
{
    // Others may read (and even delete) the file while lines are still arriving.
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

HWND CreateHiddenWindow(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HeadlessWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = TerminalClassNameW;
    if (RegisterClassExW(&windowClass) == 0) {
        return NULL;
    }
    // A top-level window, not a message-only one: hosts find the terminal with FindWindow, which
    // does not see message-only windows. It is simply never shown.
    return CreateWindowExW(0, TerminalClassNameW, L"Vornak debug terminal (headless)", WS_OVERLAPPED,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, instance,
                           NULL);
}

} // namespace

int RunHeadlessTerminal(HINSTANCE instance, const TerminalOptions& options, const StandardStreams& streams)
{
    if (!RegisterTerminalMessages(&g_messages)) {
        TellUser(streams, "cannot register the terminal messages: " + SystemErrorText(GetLastError()));
        return 1;
    }
    // Claimed before the output is opened, so that a refused second terminal never empties the
    // running one's file.
    std::string why;
    InstanceClaim instanceClaim;
    if (!ClaimSingleInstance(&instanceClaim, &why)) {
        TellUser(streams, why);
        return 2;
    }
    // Ctrl+C is heeded from here on; before the window exists it is kept as a stop request.
    g_finished = CreateEventW(NULL, TRUE, FALSE, NULL);
    g_stopRequest = instanceClaim.stopRequest;
    if (streams.joinedConsole) {
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    }

    int status = 0;
    HANDLE output = streams.output;
    bool ownsOutput = !options.outputPath.empty();
    if (ownsOutput) {
        output = OpenOutputFile(options.outputPath);
        if (output == INVALID_HANDLE_VALUE) {
            TellUser(streams, "cannot open the output file: " + SystemErrorText(GetLastError()));
            output = NULL;
            status = 1;
        }
    } else if (output == NULL) {
        TellUser(streams, "there is no standard output to write to; give --output FILE");
        status = 1;
    }

    IncomingQueue queue(WaitingLineLimit);
    g_queue = &queue;
    g_window = status == 0 ? CreateHiddenWindow(instance) : NULL;
    if (status == 0 && g_window == NULL) {
        TellUser(streams, "cannot create the terminal window: " + SystemErrorText(GetLastError()));
        status = 1;
    }
    if (g_window != NULL) {
        DWORD filterError = 0;
        if (!AllowTerminalMessagesFromLowerIntegrity(g_window, g_messages, &filterError)) {
            TellUser(streams, "lines from programs at a lower integrity level will not arrive: " +
                                  SystemErrorText(filterError));
        }
        CloseOnStopRequest(&instanceClaim, g_window);
        OutputWriter writer(queue, output);
        MSG message;
        while (GetMessageW(&message, NULL, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        if (!writer.Finish()) {
            TellUser(streams, "some lines could not be written to the output");
            status = 1;
        }
    }
    if (ownsOutput && output != NULL) {
        CloseHandle(output);
    }
    g_stopRequest = NULL;
    ReleaseInstance(&instanceClaim);
    SetEvent(g_finished);
    return status;
}
