// The host's ANSI code page, in which every line is written and read back from its atom: where
// its text may be cut, and a locale of the C run-time that converts wide values into it. Learnt
// once, by the first line a host sends, never under the loader lock.
#pragma once

#include <locale.h>

#include "character_cut.h"

struct AnsiCodePage {
    CodePageCharacters characters;
    _locale_t locale;  // its character category only, every other one "C"; NULL if the run-time made none
};

// Learns the code page on the first call, and waits for a learning under way on another thread.
const AnsiCodePage& HostAnsiCodePage();

// Gives the locale back, at unload. When the process is ending, leaves it to the process: the heap
// is no longer ours to tidy.
void ReleaseAnsiCodePage(bool processEnding);
