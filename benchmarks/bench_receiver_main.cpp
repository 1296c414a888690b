// bench-receiver: a debug terminal reduced to what the protocol asks of one. It reads the text of
// every line's atom while handling the message, as a terminal must, and keeps only a tally, so
// that the benchmark measures the senders and not a display. Closing its window ends it with a report.
#include <windows.h>

#include <stdio.h>

#include "bench_names.h"
#include "line_digest.h"
#include "vornak_terminal_protocol.h"

namespace {

// One more than the longest atom text.
const int AtomTextCapacity = VORNAK_ATOM_TEXT_LIMIT + 1;

UINT MessageIds[VORNAK_TERMINAL_MESSAGE_COUNT];
LineTally Tally;
unsigned long long Rejected = 0;

bool IsLineMessage(UINT message)
{
    for (int kind = 0; kind < VORNAK_TERMINAL_MESSAGE_COUNT; ++kind) {
        if (kind != VORNAK_CLEAR_TERMINAL && MessageIds[kind] != 0 && message == MessageIds[kind]) {
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
            ++Rejected;
        } else {
            Tally.Add(text, length);
        }
        return 0;
    }
    if (message == MessageIds[VORNAK_CLEAR_TERMINAL]) {
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
    for (int i = 0; i < VORNAK_TERMINAL_MESSAGE_COUNT; ++i) {
        MessageIds[i] = RegisterWindowMessageA(VornakTerminalMessageNames[i]);
        if (MessageIds[i] == 0) {
            fprintf(stderr, "bench-receiver: cannot register %s (error %lu)\n", VornakTerminalMessageNames[i],
                    GetLastError());
            return 1;
        }
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ReceiverProcedure;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = VORNAK_TERMINAL_CLASS;
    // Top-level, never shown: FindWindowA does not see message-only windows.
    HWND window = NULL;
    if (RegisterClassA(&windowClass) != 0) {
        window = CreateWindowExA(0, VORNAK_TERMINAL_CLASS, "Benchmark receiver", WS_OVERLAPPED, CW_USEDEFAULT,
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
    printf(HelperReportFormat, Tally.lines, Tally.bytes, Tally.digest, Rejected);
    printf("\n");
    return fflush(stdout) == 0 ? 0 : 1;
}
