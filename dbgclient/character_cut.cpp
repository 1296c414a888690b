#include "character_cut.h"

namespace {

const unsigned char ContinuationMask = 0xC0;
const unsigned char ContinuationBits = 0x80;
// Bytes of a UTF-8 sequence after its lead byte, at most.
const size_t LongestUtf8Tail = 3;

bool IsContinuation(unsigned char byte)
{
    return (byte & ContinuationMask) == ContinuationBits;
}

// How many bytes the UTF-8 sequence that byte begins holds; 1 for a byte that begins none.
size_t Utf8SequenceLength(unsigned char byte)
{
    if (byte >= 0xF8) {
        return 1;
    }
    if (byte >= 0xF0) {
        return 4;
    }
    if (byte >= 0xE0) {
        return 3;
    }
    return byte >= 0xC0 ? 2 : 1;
}

size_t DoubleByteCut(const unsigned char* text, size_t end, const CodePageCharacters& characters)
{
    // Only a walk from the start tells a lead byte from a trail byte that has the same value.
    size_t at = 0;
    while (at < end) {
        size_t next = at + (characters.leadByte[text[at]] ? 2 : 1);
        if (next > end) {
            break;
        }
        at = next;
    }
    return at;
}

size_t Utf8Cut(const unsigned char* text, size_t length, size_t end)
{
    if (end < length && !IsContinuation(text[end])) {
        return end;
    }
    // A sequence that reaches text[end], or that the text ends in the middle of, began at most
    // three bytes before, at a lead byte that announces more bytes than came after it here.
    for (size_t back = 1; back <= LongestUtf8Tail && back <= end; ++back) {
        unsigned char byte = text[end - back];
        if (IsContinuation(byte)) {
            continue;
        }
        return Utf8SequenceLength(byte) > back ? end - back : end;
    }
    return end;
}

}  // namespace

const CodePageCharacters SingleByteCharacters = {SingleByteEncoding, {}};
const CodePageCharacters Utf8Characters = {Utf8Encoding, {}};

size_t WholeCharacterLength(const char* text, size_t length, size_t limit, const CodePageCharacters& characters)
{
    size_t end = limit < length ? limit : length;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    switch (characters.encoding) {
    case DoubleByteEncoding:
        return DoubleByteCut(bytes, end, characters);
    case Utf8Encoding:
        return Utf8Cut(bytes, length, end);
    case SingleByteEncoding:
        break;
    }
    return end;
}
