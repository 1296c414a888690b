#include "terminal_protocol.h"

namespace {

// An atom's string is at most 255 characters.
constexpr int AtomTextCapacity = 256;

// Which class a message carries. Separators travel under the debug message with letter 0; the
// letters of the other classes add nothing the message number does not already say.
bool ClassOfMessage(const TerminalMessageIds& ids, UINT message, LPARAM lParam, LineClass* lineClass)
{
    if (message == ids.debug) {
        *lineClass = lParam == 0 ? LineClass::Separator : LineClass::Debug;
    } else if (message == ids.log) {
        *lineClass = LineClass::Log;
    } else if (message == ids.statistic) {
        *lineClass = LineClass::Statistic;
    } else if (message == ids.error) {
        *lineClass = LineClass::Error;
    } else if (message == ids.clear) {
        *lineClass = LineClass::ClearMarker;
    } else {
        return false;
    }
    return true;
}

} // namespace

bool RegisterTerminalMessages(TerminalMessageIds* ids)
{
    ids->debug = RegisterWindowMessageA("*WM_DEBUG_MESSAGE");
    ids->log = RegisterWindowMessageA("*WM_LOG_MESSAGE");
    ids->statistic = RegisterWindowMessageA("*WM_STATISTIC_MESSAGE");
    ids->error = RegisterWindowMessageA("*WM_ERROR_MESSAGE");
    ids->clear = RegisterWindowMessageA("*WM_CLEAR_TERMINAL");
    return ids->debug != 0 && ids->log != 0 && ids->statistic != 0 && ids->error != 0 && ids->clear != 0;
}

uint32_t LocalMsOfDay()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
}

bool ReceiveTerminalMessage(const TerminalMessageIds& ids, UINT message, WPARAM wParam, LPARAM lParam,
                            ReceivedLine* line)
{
    // Unregistered numbers are 0, which no message a window receives uses for these.
    if (message == 0 || !ClassOfMessage(ids, message, lParam, &line->lineClass)) {
        return false;
    }
    line->arrivalMsOfDay = LocalMsOfDay();
    line->text.clear();
    line->carriage = LineCarriage::Carried;
    if (line->lineClass == LineClass::ClearMarker) {
        return true;
    }
    ATOM atom = static_cast<ATOM>(wParam & 0xFFFF);
    if (atom == 0) {
        line->carriage = LineCarriage::TooLong;
        return true;
    }
    char text[AtomTextCapacity];
    UINT length = GlobalGetAtomNameA(atom, text, AtomTextCapacity);
    if (length == 0) {
        line->carriage = LineCarriage::Unreadable;
        return true;
    }
    line->text.assign(text, length < AtomTextCapacity ? length : AtomTextCapacity - 1);
    return true;
}
