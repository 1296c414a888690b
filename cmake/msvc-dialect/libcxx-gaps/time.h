/* struct timespec, which the Universal C Runtime's time.h has and Wine's lacks, and which LLVM's
 * C++ library names in <ctime> and <thread>. For compiling only. */
#pragma once
#include_next <time.h>

#ifndef _TIMESPEC_DEFINED
#define _TIMESPEC_DEFINED
struct timespec {
    time_t tv_sec;
    long tv_nsec;
};
#endif
