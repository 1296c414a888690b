// VORNAKDBG32.dll loaded from beside the test program with LoadLibrary, as hosts load it at run time.
#pragma once

#include <windows.h>

#include "vornakdbg32.h"

struct LoadedLibrary {
    HMODULE module = NULL;
    VornakMessageFunction debugMessage = NULL;
    VornakMessageFunction logMessage = NULL;
    VornakMessageFunction statisticMessage = NULL;
    VornakMessageFunction errorMessage = NULL;
    VornakRegisterTaskFunction registerTask = NULL;
};

// False (with nothing left loaded) when the library or one of its exports is missing.
bool LoadLibraryUnderTest(LoadedLibrary* library);
void UnloadLibraryUnderTest(LoadedLibrary* library);

// Whether any module of that name is still mapped in this process.
bool LibraryStillLoaded();
