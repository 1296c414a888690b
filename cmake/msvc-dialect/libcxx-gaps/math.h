/* Declarations that the Universal C Runtime's math.h has and Wine's lacks, which LLVM's C++
 * library names in <cmath>. For compiling only: nothing built with them is linked. */
#pragma once
#include_next <math.h>

#ifdef __cplusplus
extern "C" {
#endif

_ACRTIMP double __cdecl erfc(double);
_ACRTIMP float __cdecl erfcf(float);
_ACRTIMP double __cdecl nexttoward(double, long double);
_ACRTIMP float __cdecl nexttowardf(float, long double);

_ACRTIMP long double __cdecl acosl(long double);
_ACRTIMP long double __cdecl acoshl(long double);
_ACRTIMP long double __cdecl asinl(long double);
_ACRTIMP long double __cdecl asinhl(long double);
_ACRTIMP long double __cdecl atanl(long double);
_ACRTIMP long double __cdecl atan2l(long double, long double);
_ACRTIMP long double __cdecl atanhl(long double);
_ACRTIMP long double __cdecl cbrtl(long double);
_ACRTIMP long double __cdecl ceill(long double);
_ACRTIMP long double __cdecl cosl(long double);
_ACRTIMP long double __cdecl coshl(long double);
_ACRTIMP long double __cdecl erfl(long double);
_ACRTIMP long double __cdecl erfcl(long double);
_ACRTIMP long double __cdecl expl(long double);
_ACRTIMP long double __cdecl exp2l(long double);
_ACRTIMP long double __cdecl expm1l(long double);
_ACRTIMP long double __cdecl fabsl(long double);
_ACRTIMP long double __cdecl fdiml(long double, long double);
_ACRTIMP long double __cdecl floorl(long double);
_ACRTIMP long double __cdecl fmaxl(long double, long double);
_ACRTIMP long double __cdecl fminl(long double, long double);
_ACRTIMP long double __cdecl fmodl(long double, long double);
_ACRTIMP long double __cdecl frexpl(long double, int*);
_ACRTIMP long double __cdecl hypotl(long double, long double);
_ACRTIMP int __cdecl ilogbl(long double);
_ACRTIMP long double __cdecl ldexpl(long double, int);
_ACRTIMP long double __cdecl lgammal(long double);
_ACRTIMP long double __cdecl logl(long double);
_ACRTIMP long double __cdecl log10l(long double);
_ACRTIMP long double __cdecl log1pl(long double);
_ACRTIMP long double __cdecl log2l(long double);
_ACRTIMP long double __cdecl logbl(long double);
_ACRTIMP long double __cdecl modfl(long double, long double*);
_ACRTIMP long double __cdecl nearbyintl(long double);
_ACRTIMP long double __cdecl nextafterl(long double, long double);
_ACRTIMP long double __cdecl nexttowardl(long double, long double);
_ACRTIMP long double __cdecl powl(long double, long double);
_ACRTIMP long double __cdecl remainderl(long double, long double);
_ACRTIMP long double __cdecl remquol(long double, long double, int*);
_ACRTIMP long double __cdecl scalblnl(long double, long);
_ACRTIMP long double __cdecl scalbnl(long double, int);
_ACRTIMP long double __cdecl sinl(long double);
_ACRTIMP long double __cdecl sinhl(long double);
_ACRTIMP long double __cdecl sqrtl(long double);
_ACRTIMP long double __cdecl tanl(long double);
_ACRTIMP long double __cdecl tanhl(long double);
_ACRTIMP long double __cdecl tgammal(long double);

#ifdef __cplusplus
}
#endif
