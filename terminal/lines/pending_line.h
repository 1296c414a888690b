// A line gathered from bytes that come in pieces of any size, as the log readers are fed: held up
// to a limit, past which it is only marked too long (its bytes dropped, its end still looked for).
#pragma once

#include <stddef.h>

#include <string>
#include <string_view>

struct PendingLine {
    std::string text;
    bool tooLong = false;
};

// Moves the bytes up to the first line feed from the front of *bytes into pending (the line feed
// itself is taken off and dropped); true when the line ended there.
bool GatherLine(PendingLine* pending, std::string_view* bytes, size_t limit);
