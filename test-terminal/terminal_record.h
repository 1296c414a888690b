// What a recording terminal saw of one protocol message: the one form in which tests write out
// and compare what a terminal received, and its one-line text form for passing records from a
// terminal process to a test.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>

// The first parameter, judged by kind only: an atom's number differs from run to run.
enum class AtomKind { None, String, Malformed };

struct TerminalRecord {
    UINT message;      // the registered number
    AtomKind atom;     // what the first parameter was
    std::string text;  // the atom's text, read while handling; empty when it could not be read
    LPARAM letter;     // second parameter as received

    bool operator==(const TerminalRecord& other) const
    {
        return message == other.message && atom == other.atom && text == other.text && letter == other.letter;
    }
};
std::ostream& operator<<(std::ostream& out, const TerminalRecord& record);

// A line that travelled in an atom, one the atom table refused, and the clear request.
TerminalRecord LineRecord(UINT message, const std::string& text, char letter);
TerminalRecord RefusedLineRecord(UINT message, char letter);
TerminalRecord ClearRecord(UINT message);

// String atoms lie between 0xC000 and 0xFFFF; a line is never an integer atom.
AtomKind KindOfAtom(WPARAM atom);

// The numbers every process gets for the protocol's message names.
struct ProtocolNumbers {
    UINT debug;
    UINT log;
    UINT statistic;
    UINT error;
    UINT clear;
};
ProtocolNumbers RegisteredProtocolNumbers();

// "message kind letter text" with the text escaped to printable ASCII ("\n", "\\", "\xHH").
std::string FormatRecord(const TerminalRecord& record);

// Reverses FormatRecord; false for a line in any other form.
bool ParseRecord(const std::string& line, TerminalRecord* record);
