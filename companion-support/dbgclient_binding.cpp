#include "dbgclient_binding.h"

namespace {

template <typename Function>
bool Find(HMODULE module, ExportLookup lookup, const char* name, WORD ordinal, Function* function,
          const char** missing)
{
    FARPROC address = GetProcAddress(module, lookup == ExportLookup::ByName ? name : MAKEINTRESOURCEA(ordinal));
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
    if (*function == NULL && *missing == NULL) {
        *missing = name;
    }
    return *function != NULL;
}

} // namespace

bool BindDbgClientExports(HMODULE module, ExportLookup lookup, DbgClientExports* exports, const char** missing)
{
    DbgClientExports found;
    const char* firstMissing = NULL;
    // The registration first: of several missing exports, it is the one a message names.
    bool all = Find(module, lookup, "VornakDbg_RegisterTask", 4, &found.registerTask, &firstMissing);
    all &= Find(module, lookup, "VornakDbg_Message", 2, &found.debugMessage, &firstMissing);
    all &= Find(module, lookup, "VornakLog_Message", 3, &found.logMessage, &firstMissing);
    all &= Find(module, lookup, "VornakStat_Message", 5, &found.statisticMessage, &firstMissing);
    all &= Find(module, lookup, "VornakError_Message", 6, &found.errorMessage, &firstMissing);
    all &= Find(module, lookup, "VornakDbg_Separator", 7, &found.separator, &firstMissing);
    all &= Find(module, lookup, "VornakDbg_ClearTerminal", 8, &found.clearTerminal, &firstMissing);
    if (missing != NULL) {
        *missing = firstMissing;
    }
    *exports = all ? found : DbgClientExports();
    return all;
}
