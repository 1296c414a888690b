// The system's debug-output buffer (terminal/capture/debug_output_buffer.*): any bytes, as any
// process of the session may leave them, of any length up to past the buffer's. The process id
// is the first four bytes as given; the text is what stands before the first NUL within the
// buffer's 4,092 bytes of text, or all of them; its lines, joined again with line feeds, give the
// text less the final line feed and the carriage returns that stood just before a line feed.
//
// Input: the buffer's bytes as they are.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "debug_output_buffer.h"
#include "fuzz_checks.h"

namespace {

// The text as the reader should see it, worked out on the whole text at once.
std::string ExpectedJoinedLines(const std::string& text)
{
    std::string kept = text;
    if (!kept.empty() && kept.back() == '\n') {
        kept.pop_back();
        kept += '\n';  // stands for the final line feed while carriage returns are taken out
    }
    std::string joined;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (kept[i] == '\r') {
            size_t next = kept.find_first_not_of('\r', i);
            if (next != std::string::npos && kept[next] == '\n') {
                i = next - 1;  // the run of returns before a feed goes
                continue;
            }
        }
        joined += kept[i];
    }
    if (!text.empty() && text.back() == '\n') {
        joined.pop_back();
    }
    return joined;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy: a read past the given bytes is a heap overflow.
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[size == 0 ? 1 : size]);
    memcpy(buffer.get(), data, size);
    DebugOutputText read = ReadDebugOutput(buffer.get(), size);

    FUZZ_CHECK(!read.lines.empty(), "every text is at least one line");
    if (size < sizeof(uint32_t)) {
        FUZZ_CHECK(read.processId == 0 && read.lines.size() == 1 && read.lines[0].empty(), "too short for an id");
        return 0;
    }
    uint32_t id = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                  static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    FUZZ_CHECK(read.processId == id, "the process id as given");
    size_t room = std::min(size, DebugOutputBufferSize) - sizeof(uint32_t);
    std::string text(reinterpret_cast<const char*>(data + sizeof(uint32_t)), room);
    text = text.substr(0, text.find('\0'));
    std::string joined;
    size_t bytes = 0;
    for (size_t i = 0; i < read.lines.size(); ++i) {
        FUZZ_CHECK(read.lines[i].find('\n') == std::string::npos, "a line holds no line feed");
        joined += (i == 0 ? "" : "\n") + read.lines[i];
        bytes += read.lines[i].size();
    }
    FUZZ_CHECK(bytes <= DebugOutputTextRoom, "bounded by the buffer");
    FUZZ_CHECK(joined == ExpectedJoinedLines(text), "the lines are the text");
    return 0;
}
