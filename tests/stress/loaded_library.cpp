#include "loaded_library.h"

#include "child_process.h"

namespace {

const wchar_t LibraryFileName[] = L"VORNAKDBG32.dll";

template <typename Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool LoadLibraryUnderTest(LoadedLibrary* library)
{
    *library = LoadedLibrary();
    library->module = LoadLibraryW(PathBesideProgram(LibraryFileName).c_str());
    if (library->module == NULL) {
        return false;
    }
    library->debugMessage = Export<VornakMessageFunction>(library->module, "VornakDbg_Message");
    library->logMessage = Export<VornakMessageFunction>(library->module, "VornakLog_Message");
    library->statisticMessage = Export<VornakMessageFunction>(library->module, "VornakStat_Message");
    library->errorMessage = Export<VornakMessageFunction>(library->module, "VornakError_Message");
    library->registerTask = Export<VornakRegisterTaskFunction>(library->module, "VornakDbg_RegisterTask");
    if (library->debugMessage == NULL || library->logMessage == NULL || library->statisticMessage == NULL ||
        library->errorMessage == NULL || library->registerTask == NULL) {
        UnloadLibraryUnderTest(library);
        return false;
    }
    return true;
}

void UnloadLibraryUnderTest(LoadedLibrary* library)
{
    if (library->module != NULL) {
        FreeLibrary(library->module);
    }
    *library = LoadedLibrary();
}

bool LibraryStillLoaded()
{
    return GetModuleHandleW(LibraryFileName) != NULL;
}
