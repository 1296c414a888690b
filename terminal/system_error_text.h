// A system error code with the system's own text, for the terminal's messages.
#pragma once

#include <windows.h>

#include <string>

// "error 5: Access is denied." (the code alone where the system has no text for it).
std::string SystemErrorText(DWORD error);
