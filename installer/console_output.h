// The one way the installer's text reaches standard output, whatever characters it holds.
//
// On a console the text goes out as the console's own wide characters. Redirected to a file or
// a pipe it goes out as UTF-8 through the C run-time's stdout, in its text mode ("\n" becomes
// "\r\n"): plain ASCII comes out exactly as the run-time's wide printing would write it, and no
// character outside the run-time's "C" locale cuts a line short. The run-time's locale and the
// stream's mode are left as they are.
#pragma once

// Writes text verbatim (not as a format); adds no line break.
void PrintText(const wchar_t* text);

// Writes format expanded with the values. Meant for the progress lines, whose longest holds a
// path of at most MAX_PATH characters; a longer expansion would be cut.
void PrintFormatted(const wchar_t* format, ...);
