// Reading JSON lines back: the exact form FormatJsonLine and FormatJsonDroppedNotice write (the
// members in their order, no blanks, the escapes the writer makes and no others), into the
// entries the text form's reader gives. The text goes back from UTF-8 to the ANSI code page it
// was written from. As for the text form, a line of another form is left out and counted, and a
// file whose first line is none is refused.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "log_reader.h"

// The writer's longest line: a line of about 1,050 bytes, each written as "\u00XX" at worst.
constexpr size_t MaxJsonLineBytes = 8192;

// One JSON line, without its line end. False when it is not one the terminal writes, or its text
// has a character the code page (0: the system's) cannot hold.
bool ParseJsonLogLine(std::string_view text, unsigned codePage, LogEntry* entry);

class JsonLogReader : public EntryReader {
public:
    JsonLogReader(std::function<void(LogEntry&&)> sink, unsigned codePage = 0);

protected:
    LineVerdict ReadLine(std::string_view line, LogEntry* entry) override;

private:
    unsigned codePage_;
};
