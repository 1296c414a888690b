// A saved log in a window of its own, beside the live terminal: the window program started again
// with --view FILE. Such a viewer takes no lines (no receiving window, no single-instance claim,
// no OutputDebugString capture, no log to a file) and writes none of the remembered settings,
// which stay the live terminal's; its title names the file it shows.
#pragma once

#include <string>

#include "window_state.h"

// File > Open in new window: asks for a log and starts a viewer of it.
void OpenInNewWindow(TerminalWindow& t);

// Starts this program as a viewer of path; false with *error (the system's) when it cannot.
bool StartViewer(const std::wstring& path, std::string* error);

// Once the viewer's frame exists: the live lines' commands grayed out, on the menu and the
// toolbar, and the system left to place it (the remembered place is the live window's).
void PrepareViewer(TerminalWindow& t);

// False for the commands that only the live lines have (pause, capture, log, back to them): a
// viewer ignores them, also when a key sends them.
bool ViewerTakes(int command);

// The title names the file shown (after each file the viewer opens).
void NameViewedFile(TerminalWindow& t);
