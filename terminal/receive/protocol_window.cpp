#include "protocol_window.h"

#include "message_filter.h"
#include "vornak_terminal_protocol.h"

ProtocolWindow CreateProtocolWindow(WNDCLASSEXW windowClass, const wchar_t* title, DWORD style, int width,
                                    int height, HMENU menu, void* parameter)
{
    ProtocolWindow made;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpszClassName = VORNAK_TERMINAL_CLASS_W;
    if (RegisterClassExW(&windowClass) != 0) {
        made.window = CreateWindowExW(0, VORNAK_TERMINAL_CLASS_W, title, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                                      height, NULL, menu, windowClass.hInstance, parameter);
    }
    if (made.window == NULL) {
        made.error = GetLastError();
        return made;
    }
    AllowTerminalMessagesFromLowerIntegrity(made.window, &made.filterError);
    return made;
}
