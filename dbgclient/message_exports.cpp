#define VORNAKDBG32_API
#include "vornakdbg32.h"

#include <stdarg.h>

#include "line_compose.h"
#include "status_codes.h"
#include "task_list.h"
#include "terminal_protocol.h"
#include "ucrt_formatter.h"

namespace {

const char DebugLetter = 'D';
const char LogLetter = 'L';
const char StatisticLetter = 'S';
const char ErrorLetter = 'V';
const char SeparatorLetter = 0;

// A window that went away during the send never had the line: as if it had not been found.
unsigned short DeliveryStatus(bool handled)
{
    return handled ? StatusDone : StatusNoTerminal;
}

unsigned short SendTerminalLine(TerminalMessage message, char letter, const char* format, va_list values)
{
    // The format is tested before the terminal: a missing format gives 1 even with no terminal.
    HWND terminal = FindTerminal();
    if (format == NULL) {
        return StatusTextMissing;
    }
    if (terminal == NULL) {
        return StatusNoTerminal;
    }

    // The atom is read outside the task list's lock: only this thread frees its own entry.
    char taskName[ComposeBufferSize];
    const char* prefix = NULL;
    ATOM taskAtom = FindTaskEntry();
    if (taskAtom != 0 && GlobalGetAtomNameA(taskAtom, taskName, sizeof(taskName)) != 0) {
        prefix = taskName;
    }

    char line[LineBufferSize];
    size_t length = ComposeLine(line, sizeof(line), prefix, format, values, UcrtFormatLine);
    CutLineForAtom(line, length);
    return DeliveryStatus(DeliverLine(terminal, TerminalMessageIds[message], line, letter));
}

}  // namespace

unsigned short VORNAKDBG32_CALL VornakDbg_Message(_Printf_format_string_ const char* format, ...)
{
    va_list values;
    va_start(values, format);
    unsigned short status = SendTerminalLine(DebugMessage, DebugLetter, format, values);
    va_end(values);
    return status;
}

unsigned short VORNAKDBG32_CALL VornakLog_Message(_Printf_format_string_ const char* format, ...)
{
    va_list values;
    va_start(values, format);
    unsigned short status = SendTerminalLine(LogMessage, LogLetter, format, values);
    va_end(values);
    return status;
}

unsigned short VORNAKDBG32_CALL VornakStat_Message(_Printf_format_string_ const char* format, ...)
{
    va_list values;
    va_start(values, format);
    unsigned short status = SendTerminalLine(StatisticMessage, StatisticLetter, format, values);
    va_end(values);
    return status;
}

unsigned short VORNAKDBG32_CALL VornakError_Message(_Printf_format_string_ const char* format, ...)
{
    va_list values;
    va_start(values, format);
    unsigned short status = SendTerminalLine(ErrorMessage, ErrorLetter, format, values);
    va_end(values);
    return status;
}

unsigned short VORNAKDBG32_CALL VornakDbg_Separator(char fill)
{
    HWND terminal = FindTerminal();
    if (terminal == NULL) {
        return StatusNoTerminal;
    }
    char line[LineBufferSize];
    ComposeSeparatorLine(line, sizeof(line), fill);
    return DeliveryStatus(DeliverLine(terminal, TerminalMessageIds[DebugMessage], line, SeparatorLetter));
}

unsigned short VORNAKDBG32_CALL VornakDbg_ClearTerminal(void)
{
    HWND terminal = FindTerminal();
    if (terminal == NULL) {
        return StatusNoTerminal;
    }
    return DeliveryStatus(RequestClear(terminal));
}
