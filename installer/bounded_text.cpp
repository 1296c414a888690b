#include "bounded_text.h"

#include <stdio.h>
#include <wchar.h>

bool AppendBounded(wchar_t* text, size_t capacity, const wchar_t* piece)
{
    size_t used = wcsnlen(text, capacity);
    if (used >= capacity) {
        return false;
    }
    size_t room = capacity - used - 1;
    size_t length = wcslen(piece);
    size_t copied = length < room ? length : room;
    wmemcpy(text + used, piece, copied);
    text[used + copied] = L'\0';
    return copied == length;
}

bool AppendFormattedBounded(wchar_t* text, size_t capacity, const wchar_t* format, va_list values)
{
    size_t used = wcsnlen(text, capacity);
    if (used >= capacity) {
        return false;
    }
    size_t room = capacity - used;
    // vswprintf reports a result that did not fit as a failure but has by then written its first
    // room - 1 characters; the terminator is set here because not every run-time sets it.
    wchar_t* end = text + used;
    int written = vswprintf(end, room, format, values);
    end[room - 1] = L'\0';
    return written >= 0 && static_cast<size_t>(written) < room;
}

bool AppendFormatted(wchar_t* text, size_t capacity, const wchar_t* format, ...)
{
    va_list values;
    va_start(values, format);
    bool complete = AppendFormattedBounded(text, capacity, format, values);
    va_end(values);
    return complete;
}
