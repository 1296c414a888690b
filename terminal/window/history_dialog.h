// View > History...: how many lines the window keeps, and in at most how many megabytes.
#pragma once

#include <windows.h>

#include <stddef.h>

// Shows the dialog with *lines and *megabytes; true with the new values when the user chose OK
// (a value out of range is refused in the dialog, with the range).
bool EditHistory(HWND owner, HINSTANCE instance, size_t* lines, size_t* megabytes);
