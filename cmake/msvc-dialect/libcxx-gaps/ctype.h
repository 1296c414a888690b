/* Names that the Universal C Runtime's ctype.h has and Wine's lacks, which LLVM's C++ library
 * uses for its streams. For compiling only. */
#pragma once
#include_next <ctype.h>

#ifdef __cplusplus
extern "C" {
#endif
_ACRTIMP int __cdecl _islower_l(int, _locale_t);
_ACRTIMP int __cdecl _isupper_l(int, _locale_t);
#ifdef __cplusplus
}
#endif
