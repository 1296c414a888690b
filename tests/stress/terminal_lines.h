// What the recording terminal process received, as lines a test can write out and compare whole.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "terminal_record.h"

// The registered numbers of the four line messages, in the order debug, log, statistic, error.
struct LineMessages {
    UINT debug;
    UINT log;
    UINT statistic;
    UINT error;
};
LineMessages RegisteredLineMessages();

// One received line: its message, its letter and the text of its atom ("(no atom)" when the first
// parameter was 0, "(unreadable atom)" when it could not be read while handling).
struct TerminalLine {
    UINT message;
    LPARAM letter;
    std::string text;

    bool operator==(const TerminalLine& other) const
    {
        return message == other.message && letter == other.letter && text == other.text;
    }
};
std::ostream& operator<<(std::ostream& out, const TerminalLine& line);

std::vector<TerminalLine> LinesOf(const std::vector<TerminalRecord>& records);

// How many of texts the global atom table still holds (in any letter case).
size_t AtomsStillHeld(const std::vector<std::string>& texts);
