#include "terminal_protocol.h"

#include "arrival_time.h"

namespace {

// An atom's string and its terminator.
constexpr int AtomTextCapacity = VORNAK_ATOM_TEXT_LIMIT + 1;

// Which class a message carries. Separators travel under the debug message with letter 0; the
// letters of the other classes add nothing the message number does not already say.
bool ClassOfMessage(UINT message, LPARAM lParam, LineClass* lineClass)
{
    if (message == TerminalMessageIds[VORNAK_DEBUG_MESSAGE]) {
        *lineClass = lParam == VORNAK_LETTER_SEPARATOR ? LineClass::Separator : LineClass::Debug;
    } else if (message == TerminalMessageIds[VORNAK_LOG_MESSAGE]) {
        *lineClass = LineClass::Log;
    } else if (message == TerminalMessageIds[VORNAK_STATISTIC_MESSAGE]) {
        *lineClass = LineClass::Statistic;
    } else if (message == TerminalMessageIds[VORNAK_ERROR_MESSAGE]) {
        *lineClass = LineClass::Error;
    } else if (message == TerminalMessageIds[VORNAK_CLEAR_TERMINAL]) {
        *lineClass = LineClass::ClearMarker;
    } else {
        return false;
    }
    return true;
}

} // namespace

UINT TerminalMessageIds[VORNAK_TERMINAL_MESSAGE_COUNT];

bool RegisterTerminalMessages()
{
    bool allRegistered = true;
    for (int message = 0; message < VORNAK_TERMINAL_MESSAGE_COUNT; ++message) {
        if (TerminalMessageIds[message] == 0) {
            TerminalMessageIds[message] = RegisterWindowMessageA(VornakTerminalMessageNames[message]);
        }
        allRegistered = allRegistered && TerminalMessageIds[message] != 0;
    }
    return allRegistered;
}

uint32_t LocalMsOfDay()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
}

bool ReceiveTerminalMessage(UINT message, WPARAM wParam, LPARAM lParam, ReceivedLine* line)
{
    // Unregistered numbers are 0, which no message a window receives uses for these.
    if (message == 0 || !ClassOfMessage(message, lParam, &line->lineClass)) {
        return false;
    }
    StampArrival(line);
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
