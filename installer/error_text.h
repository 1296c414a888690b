// Composition of an error text, apart from the console and the system's message table.
// Plain C++ without Windows headers, so that it also builds natively for fuzzing.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

const size_t ErrorTextCapacity = 400; // wide characters, terminator included

// Fills text (capacity characters) with "Error 0x...: " when code is not 0, then format expanded
// with values, then, when code is not 0 and systemText is given, "\n\nPossible cause:\n\n" and
// systemText. Whatever does not fit is cut.
void ComposeErrorText(wchar_t* text, size_t capacity, uint32_t code, const wchar_t* systemText,
                      const wchar_t* format, va_list values);
