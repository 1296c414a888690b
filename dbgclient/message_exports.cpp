#define VORNAKDBG32_API
#include "vornakdbg32.h"

#include <stdarg.h>

#include "ansi_code_page.h"
#include "line_compose.h"
#include "task_list.h"
#include "terminal_delivery.h"
#include "ucrt_formatter.h"

namespace {

// A window that went away during the send, or that the system kept the line from, never had it:
// as if no terminal had been found.
unsigned short DeliveryStatus(bool handled)
{
    return handled ? VORNAKDBG_STATUS_DONE : VORNAKDBG_STATUS_NO_TERMINAL;
}

unsigned short SendTerminalLine(VornakTerminalMessage message, char letter, const char* format, va_list values)
{
    // The terminal is looked for first, as by every call, but a missing format outranks a missing
    // terminal: it gives VORNAKDBG_STATUS_TEXT_MISSING even when none runs.
    HWND terminal = FindTerminal();
    if (format == NULL) {
        return VORNAKDBG_STATUS_TEXT_MISSING;
    }
    if (terminal == NULL) {
        return VORNAKDBG_STATUS_NO_TERMINAL;
    }

    // The atom is read outside the task list's lock: only this thread frees its own entry.
    char taskName[ComposeBufferSize];
    const char* prefix = NULL;
    ATOM taskAtom = FindTaskEntry();
    if (taskAtom != 0 && GlobalGetAtomNameA(taskAtom, taskName, sizeof(taskName)) != 0) {
        prefix = taskName;
    }

    const CodePageCharacters& characters = HostAnsiCodePage().characters;
    char line[LineBufferSize];
    size_t length = ComposeLine(line, sizeof(line), prefix, format, values, UcrtFormatLine, characters);
    CutLineForAtom(line, length, characters);
    return DeliveryStatus(DeliverLine(terminal, TerminalMessageIds[message], line, letter));
}

}  // namespace

unsigned short VORNAKDBG32_CALL VornakDbg_Message(_Printf_format_string_ const char* format, ...)
{
    va_list values;
    va_start(values, format);
    unsigned short status = SendTerminalLine(VORNAK_DEBUG_MESSAGE, VORNAK_LETTER_DEBUG, format, values);
    va_end(values);
    return status;
}

unsigned short VORNAKDBG32_CALL VornakLog_Message(_Printf_format_string_ const char* format, ...)
{
    va_list values;
    va_start(values, format);
    unsigned short status = SendTerminalLine(VORNAK_LOG_MESSAGE, VORNAK_LETTER_LOG, format, values);
    va_end(values);
    return status;
}

unsigned short VORNAKDBG32_CALL VornakStat_Message(_Printf_format_string_ const char* format, ...)
{
    va_list values;
    va_start(values, format);
    unsigned short status = SendTerminalLine(VORNAK_STATISTIC_MESSAGE, VORNAK_LETTER_STATISTIC, format, values);
    va_end(values);
    return status;
}

unsigned short VORNAKDBG32_CALL VornakError_Message(_Printf_format_string_ const char* format, ...)
{
    va_list values;
    va_start(values, format);
    unsigned short status = SendTerminalLine(VORNAK_ERROR_MESSAGE, VORNAK_LETTER_ERROR, format, values);
    va_end(values);
    return status;
}

unsigned short VORNAKDBG32_CALL VornakDbg_Separator(char fill)
{
    HWND terminal = FindTerminal();
    if (terminal == NULL) {
        return VORNAKDBG_STATUS_NO_TERMINAL;
    }
    char line[LineBufferSize];
    ComposeSeparatorLine(line, sizeof(line), fill);
    UINT message = TerminalMessageIds[VORNAK_DEBUG_MESSAGE];
    return DeliveryStatus(DeliverLine(terminal, message, line, VORNAK_LETTER_SEPARATOR));
}

unsigned short VORNAKDBG32_CALL VornakDbg_ClearTerminal(void)
{
    HWND terminal = FindTerminal();
    if (terminal == NULL) {
        return VORNAKDBG_STATUS_NO_TERMINAL;
    }
    return DeliveryStatus(RequestClear(terminal));
}
