// Replacing, in this program's own import table, the address of a function it imports from a
// system DLL, so that a test can make that function fail or record its calls.
#pragma once

// Points every import of function (by name, from any DLL) in this executable at replacement.
// Returns the original address, or nullptr when the executable does not import the function.
void* PatchImport(const char* function, void* replacement);
