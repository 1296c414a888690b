// VORNAKDBG32.dll loaded at run time, so the sender runs (and says why it cannot send) even
// where the library is missing, and builds without its import library.
#pragma once

#include <windows.h>

#include <string>

#include "dbgclient_binding.h"

struct LibraryBinding : DbgClientExports {
    HMODULE module = NULL;
};

constexpr char LibraryFileName[] = "VORNAKDBG32.dll";

// Loads the library from the sender's own folder, never from the current folder or the PATH (a
// file of that name planted there would otherwise run inside the sender), and finds its seven
// exports by name. On failure returns false with *why set
// and nothing left loaded.
bool BindLibrary(LibraryBinding* binding, std::string* why);

void UnbindLibrary(LibraryBinding* binding);
