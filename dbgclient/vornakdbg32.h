/* VORNAKDBG32: sends diagnostic text lines to a running Vornak debug terminal.
 * Usable from C and C++. Every call returns at once, sending nothing, when no terminal runs.
 *
 * Status values: 0 done, 1 text argument missing, 2 no debug terminal window,
 * 3 (VornakDbg_RegisterTask only) the atom table or the heap refused the name. */
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

/* Lines: printf-style format and values; the calling thread's task name, if any, comes first. */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakDbg_Message(const char* format, ...);   /* @2, 'D' */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakLog_Message(const char* format, ...);   /* @3, 'L' */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakStat_Message(const char* format, ...);  /* @5, 'S' */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakError_Message(const char* format, ...); /* @6, 'V' */

/* Labels every later line of the calling thread with name (at most 255 characters). @4 */
VORNAKDBG32_API int VORNAKDBG32_CALL VornakDbg_RegisterTask(const char* name);

/* A line of 70 fill characters ('-' when fill is 0), never labelled. @7 */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakDbg_Separator(char fill);

/* Asks the terminal to clear its display. @8 */
VORNAKDBG32_API unsigned short VORNAKDBG32_CALL VornakDbg_ClearTerminal(void);

/* For hosts that load the library at run time with GetProcAddress. */
typedef unsigned short(VORNAKDBG32_CALL* VornakMessageFunction)(const char* format, ...);
typedef int(VORNAKDBG32_CALL* VornakRegisterTaskFunction)(const char* name);
typedef unsigned short(VORNAKDBG32_CALL* VornakSeparatorFunction)(char fill);
typedef unsigned short(VORNAKDBG32_CALL* VornakClearTerminalFunction)(void);

#ifdef __cplusplus
}
#endif

#endif
