// Formatters for line composition (dbgclient/line_compose.h) other than the library's own, for
// its tests and its native fuzzer: the C library's, which keeps the same contract as the
// Universal C Runtime's, and one that refuses every format.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>

#include "line_compose.h"

inline int StandardFormatter(char* buffer, size_t size, const char* format, va_list values)
{
    return vsnprintf(buffer, size, format, values);
}

// Refuses the format after writing over all the room it was given, as a run-time may leave its
// buffer when it gives up half-way.
inline int RefusingFormatter(char* buffer, size_t size, const char*, va_list)
{
    for (size_t i = 0; i < size; ++i) {
        buffer[i] = static_cast<char>('R' + i % 7);
    }
    return -1;
}

// ComposeLine with the values given here.
inline size_t ComposeWith(LineFormatter formatter, char* line, size_t lineSize, const char* taskName,
                          const char* format, ...)
{
    va_list values;
    va_start(values, format);
    size_t length = ComposeLine(line, lineSize, taskName, format, values, formatter);
    va_end(values);
    return length;
}
