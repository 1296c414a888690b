// Headless output as JSON lines: one object a line, as log shippers take it.
//   {"time":"2026-12-08T14:24:12.449+01:00","class":"error","text":"disk full"}
// time: local time with milliseconds and offset (null when only the time of day is known, or the
// year is past 9999);
// class: the class label; text: the line's text decoded from the ANSI code page into UTF-8,
// escaped per RFC 8259 with every control character as \u00XX. An ods line names its writer
// between class and text: "class":"ods","pid":1234,"process":"name.exe" (null when unknown).
#pragma once

#include <stdint.h>

#include <string>
#include <string_view>

#include "arrival_time.h"
#include "received_line.h"

// The object for one line, ending in "\n". codePage 0: the system's ANSI code page.
std::string FormatJsonLine(const ReceivedLine& line, unsigned codePage = 0);

// The object that stands for lines lost because the output could not keep up; class "dropped".
std::string FormatJsonDroppedNotice(const ArrivalTime& at, uint64_t droppedCount);

// utf8 as the inside of a JSON string: " and \ escaped, control characters and DEL as \u00XX.
std::string JsonEscaped(std::string_view utf8);
