// The seven exports of VORNAKDBG32.dll as a program that loads the library at run time finds them:
// by name, as a host does, or by the ordinals the library's .def file fixes.
#pragma once

#include <windows.h>

#include "vornakdbg32.h"

enum class ExportLookup { ByName, ByOrdinal };

struct DbgClientExports {
    VornakMessageFunction debugMessage = NULL;
    VornakMessageFunction logMessage = NULL;
    VornakRegisterTaskFunction registerTask = NULL;
    VornakMessageFunction statisticMessage = NULL;
    VornakMessageFunction errorMessage = NULL;
    VornakSeparatorFunction separator = NULL;
    VornakClearTerminalFunction clearTerminal = NULL;
};

// Finds all seven in module. False when one is missing: *exports is then left empty and
// *missing (when not null) names the first missing one.
bool BindDbgClientExports(HMODULE module, ExportLookup lookup, DbgClientExports* exports, const char** missing);
