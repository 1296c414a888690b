#include "debug_output_buffer.h"

#include <string.h>

#include <algorithm>

namespace {

uint32_t LittleEndian32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// A line without the carriage returns that stood before its line feed.
std::string WithoutCarriageReturns(const char* start, size_t length)
{
    while (length > 0 && start[length - 1] == '\r') {
        --length;
    }
    return std::string(start, length);
}

} // namespace

DebugOutputText ReadDebugOutput(const unsigned char* buffer, size_t size)
{
    DebugOutputText read;
    size = std::min(size, DebugOutputBufferSize);
    if (size < sizeof(uint32_t)) {
        read.lines.emplace_back();
        return read;
    }
    read.processId = LittleEndian32(buffer);
    const char* text = reinterpret_cast<const char*>(buffer + sizeof(uint32_t));
    size_t room = size - sizeof(uint32_t);
    const void* end = memchr(text, '\0', room);
    size_t length = end != NULL ? static_cast<size_t>(static_cast<const char*>(end) - text) : room;
    bool endsWithFeed = length > 0 && text[length - 1] == '\n';
    if (endsWithFeed) {
        --length;  // the final line feed ends the last line rather than starting an empty one
    }
    size_t start = 0;
    for (;;) {
        const void* feed = memchr(text + start, '\n', length - start);
        if (feed == NULL) {
            read.lines.push_back(endsWithFeed ? WithoutCarriageReturns(text + start, length - start)
                                              : std::string(text + start, length - start));
            return read;
        }
        size_t at = static_cast<size_t>(static_cast<const char*>(feed) - text);
        read.lines.push_back(WithoutCarriageReturns(text + start, at - start));
        start = at + 1;
    }
}
