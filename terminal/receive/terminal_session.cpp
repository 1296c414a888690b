#include "terminal_session.h"

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
    ProtocolWindow made = CreateProtocolWindow(windowClass, title, style, width, height, menu, NULL);
    if (!Accept(made, filterRefusal)) {
        return NULL;
    }
    CloseOnStopRequest(made.window);
    return made.window;
}

bool TerminalSession::Accept(const ProtocolWindow& made, std::string* filterRefusal)
{
    filterRefusal->clear();
    if (made.window == NULL) {
        TellUser(streams_, CannotCreateWindow + SystemErrorText(made.error));
        return false;
    }
    if (made.filterError != 0) {
        *filterRefusal = SystemErrorText(made.filterError);
    }
    return true;
}
