// Scripted results, steered by NETCFG_SIM_SCRIPT: rules separated by ';', each one of
//   Name=0xHHHHHHHH     every call of the method Name returns the code
//   Name#k=0xHHHHHHHH   only the k-th call of Name (from 1)
//   #n=0xHHHHHHHH       only the n-th journaled call of any method (from 1)
// Calls are counted in this process from the moment the script was last read.
#pragma once

#include <windows.h>

namespace CallScript {

// Reads the script from the environment again and restarts every count. Malformed rules are
// reported on standard error and ignored.
void Reload();

struct Verdict {
    bool scripted;
    HRESULT code;
};

// Counts one call of method and says what the script wants it to return. When several rules
// match, "#n" wins over "Name#k", which wins over "Name"; among equals, the first written.
Verdict CountCall(const char* method);

} // namespace CallScript
