// A file dropped on a window of this process as Explorer drops one (WM_DROPFILES), for the
// terminal's tests and its benchmark.
#pragma once

#include <windows.h>

#include <string>

// Returns once the window has handled the drop.
void DropFileOn(HWND window, const std::wstring& path);
