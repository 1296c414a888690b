/* A host whose calls a compiler checks against their formats (check-format-warnings.sh): as it
 * stands every value matches its conversion; with MISMATCHED defined each call has one value of
 * the wrong type, and each must draw a format warning. */
#include <stddef.h>

#include "vornakdbg32.h"

void SendMatching(VornakMessageFunction send, const wchar_t* adapter, long long bytes, size_t count, void* where)
{
    VornakDbg_Message("adapter %ls: %I64d bytes, %lld in all, %Iu items at %p", adapter, bytes, bytes, count, where);
    VornakLog_Message("%s is %d%% done, %u left, %lu errors", "scan", 50, 3u, 2ul);
    VornakStat_Message("rate %e, %g, %.1f; mark %c; wide %S", 1.5, 2.5, 3.5, 'x', adapter);
    VornakError_Message("code 0x%08X", 0x80004005u);
    send("sent %d of %d", 1, 2);
#ifdef __clang__
    /* clang knows the rest of Microsoft's conversions and C99's sizes on a Windows target. */
    VornakDbg_Message("%ws %hs %zu %jd %td", adapter, "narrow", count, (long long)bytes, (ptrdiff_t)count);
#endif
#ifdef MISMATCHED
    VornakDbg_Message("count=%d", "five");
    VornakLog_Message("%s started", 5);
    VornakStat_Message("%I64d bytes", 1.5);
    VornakError_Message("adapter %ls", 5);
    send("sent %d of %s", 1, 2);
#endif
}
