// The hosts' 8-bit text, in the system's ANSI code page, and UTF-8: for JSON output, syslog
// messages, and rule patterns (kept as UTF-8) matched against lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "line_rules.h"
#include "received_line.h"
#include "text_pattern.h"

// The system's ANSI code page, the one hosts' lines are in (GetACP).
unsigned SystemAnsiCodePage();

// text decoded from codePage (0: the system's ANSI code page) into UTF-8, as Windows decodes it
// (a byte the code page leaves undefined becomes the character Windows maps it to). Never fails;
// ASCII text comes back as it is.
std::string AnsiToUtf8(std::string_view text, unsigned codePage = 0);

// utf8 encoded in codePage (0: the system's). False when utf8 is not valid UTF-8 or has a
// character the code page cannot hold (no best-fit substitutes).
bool Utf8ToAnsi(std::string_view utf8, unsigned codePage, std::string* out);

// Matching as codePage (0: the system's) needs it: its own letters folded, its lead bytes,
// patterns converted from UTF-8.
LineEncoding SystemLineEncoding(unsigned codePage = 0);

// What a line says to the world outside, in UTF-8: its text without the final line feed (control
// characters as they are), the placeholder of a line not carried, "terminal cleared" for a clear.
std::string LineTextUtf8(const ReceivedLine& line, unsigned codePage = 0);

// spans (byte ranges of text, as TextPattern and LineFinder give them) as ranges of the UTF-16
// text the list draws from text (MultiByteToWideChar from codePage, 0: the system's): where a
// character of two bytes is one UTF-16 unit, or one byte becomes two units, the ranges move.
std::vector<MatchSpan> WideSpans(std::string_view text, const std::vector<MatchSpan>& spans, unsigned codePage = 0);
