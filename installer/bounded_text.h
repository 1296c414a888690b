// Text arithmetic that never writes past the end of its buffer: whatever does not fit is cut.
// Plain C++ without Windows headers, so that it also builds natively for fuzzing.
#pragma once

#include <stdarg.h>
#include <stddef.h>

// Appends piece to the terminated text in a buffer of capacity characters; cuts what does not fit.
// Returns false when something was cut.
bool AppendBounded(wchar_t* text, size_t capacity, const wchar_t* piece);

// Appends format expanded with values, cut to fit as above.
bool AppendFormattedBounded(wchar_t* text, size_t capacity, const wchar_t* format, va_list values);

// The same with the values given here.
bool AppendFormatted(wchar_t* text, size_t capacity, const wchar_t* format, ...);
