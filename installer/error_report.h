// The one way the installer tells about a failure: code, message and the system's explanation.
#pragma once

#include <windows.h>

#include "error_text.h"

// Prints "Error <code>: " (when code is not 0), format expanded with the values, and the system's
// text for the code when it has one. Prints verbatim and adds no line break; cuts at 400 characters.
void ReportError(HRESULT code, const wchar_t* format, ...);

// The result code of a Windows error number: itself when 0 or negative as a 32-bit value
// (the setup API's own 0xE000xxxx numbers), else a Win32 facility code of its low 16 bits.
HRESULT ResultFromErrorNumber(DWORD error);
