// A system error code with the system's own text, for the terminal's messages.
#pragma once

#include <windows.h>

#include <string>

// "error 5: Access is denied." on one line; for a Winsock error the system has no text for, a
// short text of the terminal's own; else the code alone.
std::string SystemErrorText(DWORD error);
