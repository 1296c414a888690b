// How a received line reads as text: in headless output, in saved files and in the list.
#pragma once

#include <stdint.h>

#include <string>
#include <string_view>

#include "received_line.h"
#include "terminal_texts.h"

// Width of the class column in text output: the longest label, "statistic" and "separator".
constexpr size_t ClassColumnWidth = 9;

// "HH:MM:SS.mmm" for a time of day in milliseconds.
std::string FormatTimeOfDay(uint32_t msOfDay);

// The text that stands for a line with none of its own to show ("terminal cleared" for the clear
// marker, a placeholder for a line that was not carried); NULL for a carried line.
const char* StandInText(const StoredLine& line);

// What the text column shows: the line without its final line feed, other control characters
// written as escapes (\n, \r, \t, \xHH) so one line stays one row; a placeholder for a line that
// was not carried; nothing special for a separator (its fill characters). Never empty-handed:
// the clear marker reads "terminal cleared".
std::string DisplayText(const StoredLine& line);

// One line of text output: time, blank, class label padded to ClassColumnWidth, blank, for an
// ods line its writer (WriterText) and a blank, display text, "\n".
// Example: "09:05:03.007 error     disk full\n".
std::string FormatOutputLine(const StoredLine& line);

// Who wrote an ods line, as text output gives it before the text: "pid=1234 name.exe". A name
// that is unknown reads "-"; blanks, backslashes and control characters in a name are written
// as \xHH, so the name is one word and reads back as it was.
std::string WriterText(const StoredLine& line);

// A process id as WriterText and JSON write it: decimal, no leading zero, at most 4294967295.
bool ParseProcessId(std::string_view digits, uint32_t* processId);

// Reads what WriterText wrote, and the blank after it, off the front of *shown (the blank may be
// missing when no text follows). False when *shown does not start with a writer.
bool TakeWriterText(std::string_view* shown, uint32_t* processId, std::string* processName);

// The marker written when lines were lost because the output could not keep up.
std::string FormatDroppedNotice(uint32_t msOfDay, uint64_t droppedCount);

// What a line says to the world outside, in UTF-8: its text without the final line feed (control
// characters as they are), the placeholder of a line not carried, "terminal cleared" for a clear.
std::string LineTextUtf8(const StoredLine& line, unsigned codePage = 0);
