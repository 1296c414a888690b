// bench-receiver: a debug terminal reduced to what the protocol asks of one. It reads the text of
// every line's atom while handling the message, as a terminal must, and keeps only a tally, so
// that the benchmark measures the senders and not a display. Closing its window ends it with a report.
#include <windows.h>

#include <stdio.h>

#include "bench_names.h"
#include "line_digest.h"

namespace {

// One more than the longest atom text.
const int AtomTextCapacity = 256;

UINT g_messages[TerminalMessageNameCount];
UINT g_clearMessage;
LineTally g_tally;
unsigned long long g_rejected = 0;

bool IsLineMessage(UINT message)
{
    for (UINT known : g_messages) {
        if (known != 0 && known != g_clearMessage && message == known) {
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK ReceiverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsLineMessage(message)) {
        char text[AtomTextCapacity];
        UINT length = wParam != 0 && wParam <= 0xFFFF
                          ? GlobalGetAtomNameA(static_cast<ATOM>(wParam), text, AtomTextCapacity)
                          : 0;
        if (length == 0) {
            ++g_rejected;
        } else {
            g_tally.Add(text, length);
        }
        return 0;
    }
    if (message == g_clearMessage) {
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main()
{
    for (int i = 0; i < TerminalMessageNameCount; ++i) {
        g_messages[i] = RegisterWindowMessageA(TerminalMessageNames[i]);
        if (g_messages[i] == 0) {
            fprintf(stderr, "bench-receiver: cannot register %s (error %lu)\n", TerminalMessageNames[i],
                    GetLastError());
            return 1;
        }
    }
    g_clearMessage = g_messages[TerminalMessageNameCount - 1];

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ReceiverProcedure;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = TerminalClassName;
    // Top-level, never shown: FindWindowA does not see message-only windows.
    HWND window = NULL;
    if (RegisterClassA(&windowClass) != 0) {
        window = CreateWindowExA(0, TerminalClassName, "Benchmark receiver", WS_OVERLAPPED, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, GetModuleHandleA(NULL),
                                 NULL);
    }
    if (window == NULL) {
        fprintf(stderr, "bench-receiver: cannot create the terminal window (error %lu)\n", GetLastError());
        return 1;
    }
    printf("%s\n", HelperReadyLine);
    fflush(stdout);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    printf(HelperReportFormat, g_tally.lines, g_tally.bytes, g_tally.digest, g_rejected);
    printf("\n");
    return fflush(stdout) == 0 ? 0 : 1;
}
