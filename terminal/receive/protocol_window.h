// The window hosts find: a top-level window of the protocol's class (FindWindow does not see
// message-only windows) that lets the five messages through the system's filter.
#pragma once

#include <windows.h>

struct ProtocolWindow {
    HWND window = NULL;
    DWORD error = 0;        // why the window could not be made (GetLastError), when it is NULL
    DWORD filterError = 0;  // why the system's filter refused the messages; 0 when it took them
};

// Registers windowClass under the protocol's class name and creates a window of it with
// parameter as its creation data, on the calling thread, which then owns the window.
ProtocolWindow CreateProtocolWindow(WNDCLASSEXW windowClass, const wchar_t* title, DWORD style, int width,
                                    int height, HMENU menu, void* parameter);
