// What every fuzzer checks, and how it reports: a failed check ends the run at once with the
// place and the reason. Inputs are exact-size heap copies, so that reading one character past a
// terminator is a heap overflow AddressSanitizer reports; outputs go into guarded buffers.
#pragma once

#include <stdio.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include "guarded_buffer.h"

#define FUZZ_CHECK(condition, what)                                                                  \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            fprintf(stderr, "%s:%d: check failed: %s (%s)\n", __FILE__, __LINE__, #condition, what); \
            abort();                                                                                 \
        }                                                                                            \
    } while (0)

// What every call must leave behind in a buffer: canaries untouched and, when it has room, a
// terminated text.
template <typename Char>
void CheckBounds(const GuardedBuffer<Char>& buffer, const char* what)
{
    FUZZ_CHECK(buffer.CanariesIntact(), what);
    if (buffer.Capacity() > 0) {
        FUZZ_CHECK(buffer.Terminated(), what);
    }
}

// Whether text is printable ASCII only, as messages for a console are.
inline bool PrintableAscii(const std::string& text)
{
    for (char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

// Whether text is UTF-8 without control characters: what a message may quote of an argument.
inline bool PrintableUtf8(const std::string& text)
{
    size_t following = 0;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (following > 0) {
            if ((byte & 0xC0) != 0x80) {
                return false;
            }
            --following;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && byte < 0xC2) || byte > 0xF4) {
            return false;
        }
        following = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    }
    return following == 0;
}

// A count of lines as the terminal's notices write it: "1 line", "0 lines", "2 lines".
inline std::string LinesInWords(unsigned long long count)
{
    return std::to_string(count) + (count == 1 ? " line" : " lines");
}

// A terminated copy of text in a heap block of exactly its size.
template <typename Char>
class ExactText {
public:
    explicit ExactText(const std::basic_string<Char>& text) : storage_(new Char[text.size() + 1])
    {
        text.copy(storage_.get(), text.size());
        storage_[text.size()] = 0;
    }

    const Char* Get() const { return storage_.get(); }

private:
    std::unique_ptr<Char[]> storage_;
};
