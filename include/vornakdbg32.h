/* VORNAKDBG32: sends diagnostic text lines to a running Vornak debug terminal.
 * Usable from C and C++. Every call returns one of the VORNAKDBG_STATUS_ values below, at once
 * and sending nothing when no terminal runs. How the lines travel: vornak_terminal_protocol.h.
 *
 * Formats are expanded by the Universal C Runtime (ucrtbase.dll), as printf is in programs built
 * with Visual C++ 2015 or later: "%ws", "%S", "%I64d", "%Iu", "%zu", "%lld", "%jd" and the rest.
 * A format the run-time refuses ("%n", an unknown conversion) never ends the host: its line shows
 * the format as written, unexpanded.
 *
 * Windows set to other languages: a line is text in the host's ANSI code page (1252 on Western
 * Windows, 1251 Russian, 932 Japanese, 936 and 950 Chinese, 949 Korean, 65001 where the user chose
 * UTF-8), and the terminal reads it back in the same one.
 * - Wide values ("%ls", "%S", "%ws", "%lc", "%C") are converted to that code page. One holding a
 *   character the code page cannot hold makes the line show its format as written, unexpanded
 *   (Windows may first put a similar character in its place). A host built with /MD that set the
 *   run-time's character locale with setlocale gets its wide values in that locale instead, as
 *   from its own printf. Numbers keep the "C" locale's decimal point.
 * - No cut ends inside a character: where 251, 256 or 276 bytes (below) would split a double-byte
 *   or UTF-8 character, the cut keeps one to three bytes fewer. A text that ends in half a
 *   character (a double-byte lead byte last, an unfinished UTF-8 sequence) loses that half, so
 *   that the line feed arrives.
 *
 * Limits, kept on purpose:
 * - A line is at most 255 bytes, its final line feed included (a global atom's limit): a longer
 *   one arrives as its first 251 bytes, "..." and the line feed. The task name, " : " and the
 *   format share 276 bytes (a format without a task name: 256), cut before a conversion.
 * - "%Lf" reads a long double as Microsoft's compilers have it, 64 bits wide: a host built by
 *   MinGW, whose long double has 80 bits, gets garbage there and must pass the value as a double.
 * - A width or precision in the hundreds of millions costs the host seconds inside its call, as
 *   its own printf would, for a line of at most 255 bytes all the same.
 * - A call waits, with no time limit, until the terminal has handled the line: a terminal stopped
 *   in a debugger stops its hosts. The Vornak terminal never holds a line.
 * - The global atom table compares text without regard to case: two lines that differ only in
 *   case, sent at the same moment, may both arrive in the spelling of one of them. The same holds
 *   for task names.
 * - A thread's task name lasts until the thread registers another one or ends.
 * - Unloading the library while another thread is inside one of its calls is unsafe, as with any
 *   DLL.
 * - Lines reach only a terminal in the same session and window station: services and programs of
 *   other sessions get VORNAKDBG_STATUS_NO_TERMINAL.
 * - The library loads only where ucrtbase.dll is (Windows 10 and 11; Windows 7 and 8.1 with the
 *   Universal C Runtime update), and registers its five message names as it loads: in a process
 *   whose window manager calls are refused, loading it fails. */
#ifndef VORNAKDBG32_H
#define VORNAKDBG32_H

#ifdef __cplusplus
extern "C" {
#endif

/* The library itself builds with VORNAKDBG32_API defined empty; its exports come from its .def file. */
#ifndef VORNAKDBG32_API
#define VORNAKDBG32_API __declspec(dllimport)
#endif

#define VORNAKDBG32_CALL __cdecl

/* What the calls return. The numbers are fixed: scripts and hosts compare them. */
#define VORNAKDBG_STATUS_DONE 0         /* sent (or registered) */
#define VORNAKDBG_STATUS_TEXT_MISSING 1 /* the format or name is NULL */
/* VORNAKDBG_STATUS_NO_TERMINAL: no terminal runs, it closed before it could take the line, or the
 * system kept the line from it (a terminal at a higher integrity level, run as administrator,
 * that does not let the library's messages through). */
#define VORNAKDBG_STATUS_NO_TERMINAL 2
#define VORNAKDBG_STATUS_NAME_REFUSED 3 /* VornakDbg_RegisterTask only: the atom table or the heap refused */

/* Format checking of the four line calls: Microsoft's code analysis reads _Printf_format_string_;
 * clang (which knows Microsoft's conversions on Windows targets) and MinGW's GCC (its ms_printf
 * flavour) warn under -Wformat about values that do not match the format. GCC 12's ms_printf
 * does not know "%ws", "%hs", "%zu", "%jd", "%td" or "%hhd" and warns about them too: define
 * VORNAKDBG32_NO_FORMAT_CHECK before including this header to turn the compiler's check off.
 * clang does not check calls through VornakMessageFunction. */
#ifdef _MSC_VER
#include <sal.h>
#endif
#ifndef _Printf_format_string_
#define _Printf_format_string_
#endif
#if defined(VORNAKDBG32_NO_FORMAT_CHECK)
#define VORNAKDBG32_FORMAT(formatIndex, firstValue)
#elif defined(__clang__)
#define VORNAKDBG32_FORMAT(formatIndex, firstValue) __attribute__((__format__(__printf__, formatIndex, firstValue)))
#elif defined(__GNUC__) && defined(_WIN32)
#define VORNAKDBG32_FORMAT(formatIndex, firstValue) __attribute__((__format__(ms_printf, formatIndex, firstValue)))
#else
#define VORNAKDBG32_FORMAT(formatIndex, firstValue)
#endif

/* Lines: printf-style format and values; the calling thread's task name, if any, comes first. */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakDbg_Message(_Printf_format_string_ const char* format, ...)
    VORNAKDBG32_FORMAT(1, 2); /* @2, 'D' */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakLog_Message(_Printf_format_string_ const char* format, ...)
    VORNAKDBG32_FORMAT(1, 2); /* @3, 'L' */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakStat_Message(_Printf_format_string_ const char* format, ...)
    VORNAKDBG32_FORMAT(1, 2); /* @5, 'S' */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakError_Message(_Printf_format_string_ const char* format, ...)
    VORNAKDBG32_FORMAT(1, 2); /* @6, 'V' */

/* Labels every later line of the calling thread with name (at most 255 characters), in place of
 * the name it registered before. @4 */
VORNAKDBG32_API int VORNAKDBG32_CALL VornakDbg_RegisterTask(const char* name);

/* A line of 70 fill characters ('-' when fill is 0), never labelled. @7 */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakDbg_Separator(char fill);

/* Asks the terminal to clear its display. @8 */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakDbg_ClearTerminal(void);

/* For hosts that load the library at run time with GetProcAddress. */
typedef unsigned short(VORNAKDBG32_CALL* VornakMessageFunction)(_Printf_format_string_ const char* format, ...)
    VORNAKDBG32_FORMAT(1, 2);
typedef int(VORNAKDBG32_CALL* VornakRegisterTaskFunction)(const char* name);
typedef unsigned short(VORNAKDBG32_CALL* VornakSeparatorFunction)(char fill);
typedef unsigned short(VORNAKDBG32_CALL* VornakClearTerminalFunction)(void);

#ifdef __cplusplus
}
#endif

#endif
