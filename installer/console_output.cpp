#include "console_output.h"

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <wchar.h>

#include "bounded_text.h"
#include "inf_path.h"

namespace {

// Room for the longest progress line: a label and a path of at most PathCapacity characters.
const size_t ProgressLineCapacity = PathCapacity + 64;

// UTF-16 is converted in pieces of at most this many units; one unit never needs more than
// three bytes of UTF-8 (a surrogate pair needs four for its two units).
const size_t PieceCharacters = 256;
const size_t PieceBytes = 3 * PieceCharacters;

const wchar_t ConsoleLineEnd[] = L"\r\n";

// The length of the next piece of text (length characters): at most PieceCharacters, and never
// ending between the two halves of a surrogate pair.
size_t NextPiece(const wchar_t* text, size_t length)
{
    if (length <= PieceCharacters) {
        return length;
    }
    wchar_t last = text[PieceCharacters - 1];
    return last >= 0xD800 && last <= 0xDBFF ? PieceCharacters - 1 : PieceCharacters;
}

// Standard output when it is a console, else NULL.
HANDLE ConsoleOfStandardOutput()
{
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (output == NULL || output == INVALID_HANDLE_VALUE || !GetConsoleMode(output, &mode)) {
        return NULL;
    }
    return output;
}

bool WriteConsoleCharacters(HANDLE console, const wchar_t* text, size_t length)
{
    while (length > 0) {
        DWORD written = 0;
        DWORD count = static_cast<DWORD>(NextPiece(text, length));
        if (!WriteConsoleW(console, text, count, &written, NULL) || written == 0) {
            return false;
        }
        text += written;
        length -= written;
    }
    return true;
}

// Each "\n" goes out as "\r\n", as the run-time's text mode sends it: the line returns to its
// start even on a console whose mode leaves a bare line feed in the column it reached.
void WriteToConsole(HANDLE console, const wchar_t* text)
{
    // Whatever waits in the run-time's buffer comes first.
    fflush(stdout);
    for (;;) {
        size_t lineLength = wcscspn(text, L"\n");
        if (!WriteConsoleCharacters(console, text, lineLength)) {
            return;
        }
        if (text[lineLength] == L'\0') {
            return;
        }
        if (!WriteConsoleCharacters(console, ConsoleLineEnd, wcslen(ConsoleLineEnd))) {
            return;
        }
        text += lineLength + 1;
    }
}

// UTF-8 through stdout, flushed at once so that a reader of a pipe sees each line as it is made.
void WriteToStream(const wchar_t* text)
{
    char bytes[PieceBytes];
    size_t length = wcslen(text);
    while (length > 0) {
        size_t count = NextPiece(text, length);
        int converted = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), bytes,
                                            static_cast<int>(sizeof(bytes)), NULL, NULL);
        if (converted > 0) {
            fwrite(bytes, 1, static_cast<size_t>(converted), stdout);
        }
        text += count;
        length -= count;
    }
    fflush(stdout);
}

} // namespace

void PrintText(const wchar_t* text)
{
    HANDLE console = ConsoleOfStandardOutput();
    if (console != NULL) {
        WriteToConsole(console, text);
    } else {
        WriteToStream(text);
    }
}

void PrintFormatted(const wchar_t* format, ...)
{
    wchar_t line[ProgressLineCapacity];
    line[0] = L'\0';
    va_list values;
    va_start(values, format);
    AppendFormattedBounded(line, ProgressLineCapacity, format, values);
    va_end(values);
    PrintText(line);
}
