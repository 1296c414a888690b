// The line formatter of the library: the Universal C Runtime's vsnprintf, which hosts built with
// Visual C++ 2015 or later use themselves.
#pragma once

#include <stdarg.h>
#include <stddef.h>

// A LineFormatter (line_compose.h). A format the run-time refuses gives -1 and never reaches the
// run-time's invalid-parameter handler, whose default would end the host. Wide values go to the
// ANSI code page, unless the host set the run-time's character locale itself.
int UcrtFormatLine(char* buffer, size_t size, const char* format, va_list values);
