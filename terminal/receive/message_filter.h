// Hosts at a lower integrity level than the terminal (an elevated terminal, ordinary hosts): the
// system's message filter (User Interface Privilege Isolation) drops their registered messages
// silently unless the window lets them through.
#pragma once

#include <windows.h>

// Lets the five terminal messages (registered before) reach window from any integrity level.
// False when the system refused one (*error then holds its error code); the others are let
// through all the same.
bool AllowTerminalMessagesFromLowerIntegrity(HWND window, DWORD* error);
