// Code pages for matching that no system need provide, for the pattern tests and fuzzers.
#pragma once

#include <stddef.h>

#include "text_pattern.h"

// Lead bytes 0x81-0x9F and 0xE0-0xFC, as Japanese Shift-JIS has.
inline MatchCodePage DoubleByteCodePage()
{
    MatchCodePage codePage = AsciiCodePage();
    for (int c = 0; c < 256; ++c) {
        codePage.lead[static_cast<size_t>(c)] = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    }
    return codePage;
}
