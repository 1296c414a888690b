// Replacing, in this program's own import table or in that of a DLL it loaded, the address of a
// function imported from a system DLL, so that a test can make that function fail or record its
// calls.
#pragma once

#include <windows.h>

// Points every import of function (by name, from any DLL) in module at replacement. Returns the
// original address, or nullptr when the module does not import the function.
void* PatchModuleImport(HMODULE module, const char* function, void* replacement);

// The same in this executable.
void* PatchImport(const char* function, void* replacement);
