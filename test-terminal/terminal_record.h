// What a recording terminal saw of one message, and its one-line text form for passing records
// from a terminal process to a test.
#pragma once

#include <windows.h>

#include <string>

struct TerminalRecord {
    UINT message;      // the registered number
    WPARAM atom;       // first parameter as received
    std::string text;  // the atom's text, read while handling; empty when it could not be read
    LPARAM letter;     // second parameter as received

    bool operator==(const TerminalRecord& other) const
    {
        return message == other.message && atom == other.atom && text == other.text &&
               letter == other.letter;
    }
};

// "message atom letter text" with the text escaped to printable ASCII ("\n", "\\", "\xHH").
std::string FormatRecord(const TerminalRecord& record);

// Reverses FormatRecord; false for a line in any other form.
bool ParseRecord(const std::string& line, TerminalRecord* record);
