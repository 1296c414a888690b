// Where the terminal's own messages and headless output go. The window program has standard
// streams only when its starter handed some over, or when it joins the console of the process
// that started it; the console program has those of its console.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

struct StandardStreams {
    HANDLE output = NULL;  // NULL when there is none
    HANDLE error = NULL;
    bool joinedConsole = false;  // on a console: Ctrl+C and its close reach us
    // Only the window may show a message box: any other command may run where nobody can
    // answer one (a script, a service, a prompt with standard error closed).
    bool dialogsAllowed = false;
};

// The window program's: the handles the starter gave, else those of the starter's console when
// joinConsole is set and there is one.
StandardStreams OpenStandardStreams(bool joinConsole);

// The console program's: the handles of its console or their redirections.
StandardStreams ConsoleStandardStreams();

// For every command but the window: the system and the C run-time report on standard error (or
// not at all) instead of in a dialog nobody may answer (a missing disk, a crash, an abort).
void KeepDialogsAway();

// True when handle is a console's screen: it takes wide characters, whatever its code page.
bool IsConsole(HANDLE handle);

// Writes text, in codePage, to a console as wide characters; false when the write failed.
bool WriteConsoleText(HANDLE console, std::string_view text, unsigned codePage);

// Writes all of text; false when the handle is missing or the write failed. A console gets the
// text read in consoleCodePage (by default the terminal's own, UTF-8); a file or a pipe the bytes.
bool WriteAll(HANDLE handle, const char* text, size_t length, unsigned consoleCodePage = CP_UTF8);

// "vornak-terminal: <text>\n" on standard error, never waiting long for it (user_messages.h);
// where there is none, a message box if dialogs are allowed, else nothing (the exit status still
// tells). On a console, and in the box, it reads as the UTF-8 it is.
void TellUser(const StandardStreams& streams, const std::string& text);
