#include "library_binding.h"

namespace {

template <typename Function>
bool Find(HMODULE module, const char* name, Function* function, std::string* missing)
{
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (*function == NULL && missing->empty()) {
        *missing = name;
    }
    return *function != NULL;
}

} // namespace

bool BindLibrary(LibraryBinding* binding, std::string* why)
{
    LibraryBinding bound;
    bound.module = LoadLibraryA(LibraryFileName);
    if (bound.module == NULL) {
        *why = std::string("cannot load ") + LibraryFileName + " (error " + std::to_string(GetLastError()) +
               "); it must lie beside vornak-send.exe or on the PATH";
        return false;
    }
    std::string missing;
    bool found = Find(bound.module, "VornakDbg_RegisterTask", &bound.registerTask, &missing);
    found &= Find(bound.module, "VornakDbg_Message", &bound.debugMessage, &missing);
    found &= Find(bound.module, "VornakLog_Message", &bound.logMessage, &missing);
    found &= Find(bound.module, "VornakStat_Message", &bound.statisticMessage, &missing);
    found &= Find(bound.module, "VornakError_Message", &bound.errorMessage, &missing);
    found &= Find(bound.module, "VornakDbg_Separator", &bound.separator, &missing);
    found &= Find(bound.module, "VornakDbg_ClearTerminal", &bound.clearTerminal, &missing);
    if (!found) {
        *why = std::string(LibraryFileName) + " has no export " + missing;
        FreeLibrary(bound.module);
        return false;
    }
    *binding = bound;
    return true;
}

void UnbindLibrary(LibraryBinding* binding)
{
    if (binding->module != NULL) {
        FreeLibrary(binding->module);
    }
    *binding = LibraryBinding();
}
