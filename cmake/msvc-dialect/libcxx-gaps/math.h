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

/* The long double functions, by their arguments. */
#define VORNAK_GAP_L(name) _ACRTIMP long double __cdecl name(long double);
#define VORNAK_GAP_LL(name) _ACRTIMP long double __cdecl name(long double, long double);
VORNAK_GAP_L(acosl) VORNAK_GAP_L(acoshl) VORNAK_GAP_L(asinl) VORNAK_GAP_L(asinhl) VORNAK_GAP_L(atanl)
VORNAK_GAP_L(atanhl) VORNAK_GAP_L(cbrtl) VORNAK_GAP_L(ceill) VORNAK_GAP_L(cosl) VORNAK_GAP_L(coshl)
VORNAK_GAP_L(erfl) VORNAK_GAP_L(erfcl) VORNAK_GAP_L(expl) VORNAK_GAP_L(exp2l) VORNAK_GAP_L(expm1l)
VORNAK_GAP_L(fabsl) VORNAK_GAP_L(floorl) VORNAK_GAP_L(lgammal) VORNAK_GAP_L(logl) VORNAK_GAP_L(log10l)
VORNAK_GAP_L(log1pl) VORNAK_GAP_L(log2l) VORNAK_GAP_L(logbl) VORNAK_GAP_L(nearbyintl) VORNAK_GAP_L(sinl)
VORNAK_GAP_L(sinhl) VORNAK_GAP_L(sqrtl) VORNAK_GAP_L(tanl) VORNAK_GAP_L(tanhl) VORNAK_GAP_L(tgammal)
VORNAK_GAP_LL(atan2l) VORNAK_GAP_LL(fdiml) VORNAK_GAP_LL(fmaxl) VORNAK_GAP_LL(fminl) VORNAK_GAP_LL(fmodl)
VORNAK_GAP_LL(hypotl) VORNAK_GAP_LL(nextafterl) VORNAK_GAP_LL(nexttowardl) VORNAK_GAP_LL(powl) VORNAK_GAP_LL(remainderl)
#undef VORNAK_GAP_L
#undef VORNAK_GAP_LL
_ACRTIMP long double __cdecl frexpl(long double, int*);
_ACRTIMP int __cdecl ilogbl(long double);
_ACRTIMP long double __cdecl ldexpl(long double, int);
_ACRTIMP long double __cdecl modfl(long double, long double*);
_ACRTIMP long double __cdecl remquol(long double, long double, int*);
_ACRTIMP long double __cdecl scalblnl(long double, long);
_ACRTIMP long double __cdecl scalbnl(long double, int);

#ifdef __cplusplus
}
#endif
