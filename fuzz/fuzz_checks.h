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

// Whether UTF-8 text holds no control character (C0, DEL, C1: U+0080 to U+009F, 0xC2 0x80-0x9F),
// as messages that quote what a user typed are for a console.
inline bool WithoutControls(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F || (c == 0xC2 && next >= 0x80 && next <= 0x9F)) {
            return false;
        }
    }
    return true;
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
