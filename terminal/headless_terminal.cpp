#include "headless_terminal.h"

#include <string>

#include "incoming_queue.h"
#include "instance_control.h"
#include "output_writer.h"
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

// Runs on a thread of the console's: ask the window to close, then hold the process open until
// the lines are written (after a console close the system ends the process when this returns).
BOOL WINAPI OnConsoleControl(DWORD)
{
    PostMessageW(g_window, WM_CLOSE, 0, 0);
    WaitForSingleObject(g_finished, CtrlFlushWaitMs);
    return TRUE;
}

std::string SystemErrorText(DWORD error)
{
    char* buffer = NULL;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  NULL, error, 0, reinterpret_cast<char*>(&buffer), 0, NULL);
    std::string text = "error " + std::to_string(error);
    if (length != 0) {
        std::string message(buffer, length);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
            message.pop_back();
        }
        text += ": " + message;
    }
    LocalFree(buffer);
    return text;
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
    HANDLE instanceClaim = ClaimSingleInstance(&why);
    if (instanceClaim == NULL) {
        TellUser(streams, why);
        return 2;
    }

    HANDLE output = streams.output;
    bool ownsOutput = !options.outputPath.empty();
    if (ownsOutput) {
        output = OpenOutputFile(options.outputPath);
        if (output == INVALID_HANDLE_VALUE) {
            TellUser(streams, "cannot open the output file: " + SystemErrorText(GetLastError()));
            CloseHandle(instanceClaim);
            return 1;
        }
    } else if (output == NULL) {
        TellUser(streams, "there is no standard output to write to; give --output FILE");
        CloseHandle(instanceClaim);
        return 1;
    }

    int status = 0;
    IncomingQueue queue(WaitingLineLimit);
    g_queue = &queue;
    g_window = CreateHiddenWindow(instance);
    if (g_window == NULL) {
        TellUser(streams, "cannot create the terminal window: " + SystemErrorText(GetLastError()));
        status = 1;
    } else {
        g_finished = CreateEventW(NULL, TRUE, FALSE, NULL);
        OutputWriter writer(queue, output);
        if (streams.joinedConsole) {
            SetConsoleCtrlHandler(OnConsoleControl, TRUE);
        }
        MSG message;
        while (GetMessageW(&message, NULL, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        if (!writer.Finish()) {
            TellUser(streams, "some lines could not be written to the output");
            status = 1;
        }
        SetEvent(g_finished);
    }
    if (ownsOutput) {
        CloseHandle(output);
    }
    CloseHandle(instanceClaim);
    return status;
}
