// What a writer leaves in the system's debug-output buffer: its process id, then its text ending
// in NUL. Any process of the session may write there, so the bytes are untrusted: the text is
// bounded by the buffer whether or not it ends, and the id is taken as given.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// The buffer's size, and the room its text has after the process id.
constexpr size_t DebugOutputBufferSize = 4096;
constexpr size_t DebugOutputTextRoom = DebugOutputBufferSize - sizeof(uint32_t);

struct DebugOutputText {
    uint32_t processId = 0;
    // One a line: split at line feeds, the final one dropped, carriage returns before a line
    // feed dropped. An empty text is one empty line.
    std::vector<std::string> lines;
};

// Reads the first size bytes of a copy of the buffer (at most DebugOutputBufferSize are looked
// at; fewer than the process id's four give an empty text of process 0).
DebugOutputText ReadDebugOutput(const unsigned char* buffer, size_t size);
