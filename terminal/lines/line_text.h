// How a received line reads as text: in headless output, in saved files and in the list.
#pragma once

#include <stdint.h>

#include <string>

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

// One line of text output: time, blank, class label padded to ClassColumnWidth, blank, display
// text, "\n". Example: "09:05:03.007 error     disk full\n".
std::string FormatOutputLine(const StoredLine& line);

// The marker written when lines were lost because the output could not keep up.
std::string FormatDroppedNotice(uint32_t msOfDay, uint64_t droppedCount);

// What a line says to the world outside, in UTF-8: its text without the final line feed (control
// characters as they are), the placeholder of a line not carried, "terminal cleared" for a clear.
std::string LineTextUtf8(const StoredLine& line, unsigned codePage = 0);
