// Where a line may be cut in the host's ANSI code page: only between two characters. The atom
// table reads a line by characters, so a cut that left the first byte of a double-byte character
// would take the next byte (the cut marker's first dot, or the line end) into it.
// Plain C++ without Windows headers, so that it also builds natively for fuzzing.
#pragma once

#include <stddef.h>

enum CharacterEncoding {
    SingleByteEncoding,  // one byte a character: 1252, 1251 and the other Western and Eastern code pages
    DoubleByteEncoding,  // a lead byte takes the byte after it: 932, 936, 949, 950
    Utf8Encoding,        // 65001, which Windows 10 and 11 let users choose
};

struct CodePageCharacters {
    CharacterEncoding encoding;
    bool leadByte[256];  // DoubleByteEncoding only: the bytes that start a two-byte character
};

extern const CodePageCharacters SingleByteCharacters;
extern const CodePageCharacters Utf8Characters;

// Length of the longest start of text (length bytes) that is at most limit bytes long and ends
// between two characters, of which the last is whole. A double-byte code page's lead byte always
// takes the byte after it, whatever that is, as the atom table reads it; in UTF-8 a lead byte
// takes the continuation bytes that follow it, up to the number it announces. A character the
// text ends in the middle of is never kept: the line end after it would be read into it, or it
// would show as a replacement character.
size_t WholeCharacterLength(const char* text, size_t length, size_t limit, const CodePageCharacters& characters);
