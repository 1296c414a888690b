#include "terminal_session.h"

#include "message_filter.h"
#include "system_error_text.h"
#include "terminal_protocol.h"
#include "terminal_texts.h"

int TerminalSession::Begin()
{
    if (!RegisterTerminalMessages()) {
        TellUser(streams_, CannotRegisterMessages + SystemErrorText(GetLastError()));
        return FailureExitStatus;
    }
    std::string why;
    if (!ClaimSingleInstance(&claim_, &why)) {
        TellUser(streams_, why);
        return AnotherTerminalExitStatus;
    }
    return 0;
}

HWND TerminalSession::CreateTerminalWindow(WNDCLASSEXW windowClass, const wchar_t* title, DWORD style, int width,
                                           int height, HMENU menu, std::string* filterRefusal)
{
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpszClassName = VORNAK_TERMINAL_CLASS_W;
    HWND window = NULL;
    if (RegisterClassExW(&windowClass) != 0) {
        window = CreateWindowExW(0, VORNAK_TERMINAL_CLASS_W, title, style, CW_USEDEFAULT, CW_USEDEFAULT, width, height,
                                 NULL, menu, windowClass.hInstance, NULL);
    }
    if (window == NULL) {
        TellUser(streams_, CannotCreateWindow + SystemErrorText(GetLastError()));
        return NULL;
    }
    DWORD filterError = 0;
    filterRefusal->clear();
    if (!AllowTerminalMessagesFromLowerIntegrity(window, &filterError)) {
        *filterRefusal = SystemErrorText(filterError);
    }
    CloseOnStopRequest(&claim_, window);
    return window;
}
