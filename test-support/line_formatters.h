// Formatters for line composition (dbgclient/line_compose.h) other than the library's own, for
// its tests and its native fuzzer: the C library's, which keeps the same contract as the
// Universal C Runtime's, and one that refuses every format; and the code pages they cut text in.
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

// ComposeLine with the values given here, for text of the code page characters describes.
inline size_t ComposeIn(const CodePageCharacters& characters, LineFormatter formatter, char* line, size_t lineSize,
                        const char* taskName, const char* format, ...)
{
    va_list values;
    va_start(values, format);
    size_t length = ComposeLine(line, lineSize, taskName, format, values, formatter, characters);
    va_end(values);
    return length;
}

// The same in a code page of one byte a character, as on Western Windows.
template <typename... Values>
size_t ComposeWith(LineFormatter formatter, char* line, size_t lineSize, const char* taskName, const char* format,
                   Values... values)
{
    return ComposeIn(SingleByteCharacters, formatter, line, lineSize, taskName, format, values...);
}

// Double-byte code pages, their lead bytes written out from Microsoft's tables so that the native
// fuzzer needs no Windows.
inline CodePageCharacters DoubleByteCharacters(unsigned char firstLead, unsigned char lastLead,
                                               unsigned char secondFirstLead = 1, unsigned char secondLastLead = 0)
{
    CodePageCharacters characters = {DoubleByteEncoding, {}};
    for (unsigned byte = 0; byte < 256; ++byte) {
        characters.leadByte[byte] =
            (byte >= firstLead && byte <= lastLead) || (byte >= secondFirstLead && byte <= secondLastLead);
    }
    return characters;
}
// 932, Japanese (Shift JIS).
inline CodePageCharacters ShiftJisCharacters()
{
    return DoubleByteCharacters(0x81, 0x9F, 0xE0, 0xFC);
}
// 936, simplified Chinese (GBK).
inline CodePageCharacters GbkCharacters()
{
    return DoubleByteCharacters(0x81, 0xFE);
}
