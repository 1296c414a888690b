// How a pattern meets the lines' bytes: the code page the lines are in, the UTF-8 patterns
// converted to it, and match positions carried over to the UTF-16 text the list draws.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text_pattern.h"

// The lines' code page: how a rule's UTF-8 pattern becomes its bytes, and how it folds case.
struct LineEncoding {
    MatchCodePage codePage;
    // False when the pattern has a character the code page cannot hold.
    std::function<bool(std::string_view utf8, std::string* bytes)> fromUtf8;
    unsigned codePageNumber = 0;  // for messages; 0 when not a Windows code page
};

// Patterns taken byte for byte, ASCII letters folded (lines that are ASCII or UTF-8).
LineEncoding Utf8LineEncoding();

// Matching as codePage (0: the system's) needs it: its own letters folded, its lead bytes,
// patterns converted from UTF-8.
LineEncoding SystemLineEncoding(unsigned codePage = 0);

// spans (byte ranges of text, as TextPattern and LineFinder give them) as ranges of the UTF-16
// text the list draws from text (MultiByteToWideChar from codePage, 0: the system's): where a
// character of two bytes is one UTF-16 unit, or one byte becomes two units, the ranges move.
std::vector<MatchSpan> WideSpans(std::string_view text, const std::vector<MatchSpan>& spans, unsigned codePage = 0);
