// Composition of one terminal line from a task name, a printf-style format and its values.
// Plain C++ without Windows headers, so that it also builds natively for fuzzing.
#pragma once

#include <stdarg.h>
#include <stddef.h>

#include "character_cut.h"
#include "vornak_terminal_protocol.h"

// The task name, the task separator and the format share a buffer of this size, terminator included.
const size_t ComposeBufferSize = 277;
// Without a task name only this much of the format is used.
const size_t FormatCutWithoutTask = 256;
// A global atom carries at most this many characters.
const size_t AtomTextLimit = VORNAK_ATOM_TEXT_LIMIT;
// The most bytes one character takes in an ANSI code page (UTF-8's longest sequence).
const size_t LongestCharacter = 4;
// Room for more than an atom can carry even when the cut of a longer text backs off to the start
// of a character, so that a line too long to travel shows as such.
const size_t LineBufferSize = AtomTextLimit + 1 + LongestCharacter;
// What replaces the end of a line too long for an atom, before its line end.
const char LineCutMarker[] = "...";

const char TaskSeparator[] = " : ";
const char LineEnd = '\n';
const size_t SeparatorWidth = 70;
const char SeparatorDefaultFill = '-';

// Expands format with values as vsnprintf does: writes at most size bytes, terminator included,
// and returns the length of the whole expanded text, or a negative value when it refuses the
// format or one of the values.
typedef int (*LineFormatter)(char* buffer, size_t size, const char* format, va_list values);

// Fills line (capacity lineSize, terminator included) with the task name and separator taken
// literally, then the format expanded with values by formatter, then the line end. taskName is
// NULL when the calling thread has none. The format is cut to what is left of the composition
// buffer (to FormatCutWithoutTask bytes without a name), never inside a conversion; the expanded
// text is cut so that the line end still fits. Every cut falls between two characters of the
// code page characters describes, and the line end follows a whole one. A format the formatter
// refuses stands in the line as it is, unexpanded. Returns the line's length; 0 (and no line
// end) when lineSize < 2.
size_t ComposeLine(char* line, size_t lineSize, const char* taskName, const char* format, va_list values,
                   LineFormatter formatter, const CodePageCharacters& characters);

// Cuts a line of length bytes (line end included) that is too long for an atom to its first
// AtomTextLimit - 4 bytes, or fewer where that would end inside a character, then LineCutMarker
// and the line end; a shorter line stays as it is. Writes nothing past line[AtomTextLimit].
// Returns the line's new length.
size_t CutLineForAtom(char* line, size_t length, const CodePageCharacters& characters);

// Fills line with SeparatorWidth fill characters ('-' for 0) and the line end, cut to lineSize.
// Returns the line's length.
size_t ComposeSeparatorLine(char* line, size_t lineSize, char fill);
