/* Names that the Universal C Runtime's stdlib.h has and Wine's lacks, which LLVM's C++ library
 * uses for its streams. For compiling only. */
#pragma once
#include_next <stdlib.h>

#ifndef MB_CUR_MAX
#define MB_CUR_MAX ___mb_cur_max_func()
#endif

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP double __cdecl _strtod_l(const char*, char**, _locale_t);
_ACRTIMP float __cdecl _strtof_l(const char*, char**, _locale_t);
#ifdef __cplusplus
}
#endif
