#include "ucrt_formatter.h"

#include <locale.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "ansi_code_page.h"

#ifndef _MSC_VER
// MinGW-w64's headers declare these only for programs built against the Universal C Runtime; the
// library imports them, and the locale functions its headers do declare, from ucrtbase.dll
// (ucrtbase_formatting.def).
extern "C" {
__declspec(dllimport) int __cdecl __stdio_common_vsprintf(unsigned long long options, char* buffer, size_t size,
                                                          const char* format, _locale_t locale, va_list values);
__declspec(dllimport) _invalid_parameter_handler __cdecl _set_thread_local_invalid_parameter_handler(
    _invalid_parameter_handler handler);
}
#else
// As the Universal C Runtime's locale.h declares it; Wine's headers lack it.
extern "C" _ACRTIMP unsigned int __cdecl ___lc_codepage_func(void);
#endif

namespace {

// What Microsoft's vsnprintf passes: C99's result for a text that does not fit, and none of the
// legacy options (three-digit exponents, msvcrt's infinities, %n) a host could opt into.
const unsigned long long StandardSnprintfBehaviour = 2;  // _CRT_INTERNAL_PRINTF_STANDARD_SNPRINTF_BEHAVIOR

void __cdecl IgnoreInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned int, uintptr_t) {}

// The code page of the "C" locale's character category, which converts nothing above U+00FF.
const unsigned int CLocaleCodePage = 0;

// Wide values (%ls, %S, %ws, %lc, %C) are converted in a character locale. A host that shares the
// run-time (built with /MD) and set its own with setlocale gets its values in that one, as from
// its own printf. Any other host has "C", in which a Russian or Japanese text makes the line show
// its format: its values go to the ANSI code page, as the line's text is written.
_locale_t LocaleForWideValues()
{
    if (___lc_codepage_func() != CLocaleCodePage) {
        return NULL;
    }
    return HostAnsiCodePage().locale;
}

}  // namespace

int UcrtFormatLine(char* buffer, size_t size, const char* format, va_list values)
{
    // A format the run-time refuses (an unknown conversion; %n, which it disables) goes to the
    // invalid-parameter handler, and the default one ends the process. For this call only, and on
    // this thread only, a handler that returns makes the run-time return -1 instead; the host's
    // own handlers, global and thread-local, stay as they were.
    _invalid_parameter_handler previous = _set_thread_local_invalid_parameter_handler(IgnoreInvalidParameter);
    int length = __stdio_common_vsprintf(StandardSnprintfBehaviour, buffer, size, format, LocaleForWideValues(), values);
    _set_thread_local_invalid_parameter_handler(previous);
    return length < 0 ? -1 : length;
}
