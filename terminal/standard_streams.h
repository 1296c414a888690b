// Where the terminal's own messages and headless output go. The program is a window program, so
// it has standard streams only when its starter handed some over, or when it joins the console of
// the process that started it.
#pragma once

#include <windows.h>

#include <string>

struct StandardStreams {
    HANDLE output = NULL;  // NULL when there is none
    HANDLE error = NULL;
    bool joinedConsole = false;  // attached to the starter's console: Ctrl+C and its close reach us
};

// The handles the starter gave, else those of the starter's console when joinConsole is set and
// there is one.
StandardStreams OpenStandardStreams(bool joinConsole);

// Writes all of text; false when the handle is missing or the write failed.
bool WriteAll(HANDLE handle, const char* text, size_t length);

// "vornak-terminal: <text>\n" on standard error, or a message box when there is no standard error.
void TellUser(const StandardStreams& streams, const std::string& text);
