#include "line_compose.h"

#include <string.h>

namespace {

// Characters that may stand between a '%' and the letter that ends its conversion: C99's flags,
// width, precision and sizes (h, hh, l, ll, j, z, t, L) and the Microsoft run-time's sizes (I,
// I32, I64, w, T).
const char ConversionBody[] = "-+ #0123456789.*hlLqjztIwT";

size_t Smaller(size_t a, size_t b)
{
    return a < b ? a : b;
}

// Length of the longest start of format, at most limit bytes, that ends neither inside nor at the
// start of a conversion: a cut there would leave a conversion without its letter.
size_t CutBeforeOpenConversion(const char* format, size_t limit)
{
    size_t length = strnlen(format, limit);
    size_t at = 0;
    while (at < length) {
        if (format[at] != '%') {
            ++at;
            continue;
        }
        size_t start = at++;
        while (at < length && strchr(ConversionBody, format[at]) != NULL) {
            ++at;
        }
        if (at == length) {
            return start;
        }
        ++at;
    }
    return length;
}

// Length of the longest start of format, at most limit bytes, that ends between two characters
// and outside every conversion. Each cut may undo the other (a lead byte before a '%' pairs with
// it), so both are made until neither moves.
size_t CutFormat(const char* format, size_t limit, const CodePageCharacters& characters)
{
    // One byte past the limit, when there is one, tells whether the cut falls inside a character.
    size_t length = strnlen(format, limit + 1);
    size_t cut = limit;
    for (;;) {
        size_t whole = WholeCharacterLength(format, length, cut, characters);
        size_t closed = CutBeforeOpenConversion(format, whole);
        if (closed == whole) {
            return closed;
        }
        cut = closed;
    }
}

// Appends the first length characters of piece, cut to room, at line + used; returns the new used
// length.
size_t AppendLiteral(char* line, size_t used, size_t room, const char* piece, size_t length)
{
    size_t copied = Smaller(length, room);
    if (copied > 0) {
        memcpy(line + used, piece, copied);
    }
    return used + copied;
}

}  // namespace

size_t ComposeLine(char* line, size_t lineSize, const char* taskName, const char* format, va_list values,
                   LineFormatter formatter, const CodePageCharacters& characters)
{
    if (lineSize == 0) {
        return 0;
    }
    line[0] = '\0';
    if (lineSize < 2) {
        return 0;
    }

    // The name and separator take their share of the composition buffer, but they are copied, not
    // expanded: a '%' in a name would otherwise take values the caller never passed.
    size_t nameLength = 0;
    size_t separatorLength = 0;
    size_t formatLimit = FormatCutWithoutTask;
    if (taskName != NULL) {
        nameLength = WholeCharacterLength(taskName, strnlen(taskName, ComposeBufferSize), ComposeBufferSize - 1,
                                          characters);
        separatorLength = Smaller(strlen(TaskSeparator), ComposeBufferSize - 1 - nameLength);
        formatLimit = ComposeBufferSize - 1 - nameLength - separatorLength;
    }
    char cutFormat[ComposeBufferSize];
    size_t formatLength = CutFormat(format, formatLimit, characters);
    memcpy(cutFormat, format, formatLength);
    cutFormat[formatLength] = '\0';

    // Leaves room for the line end and the terminator.
    size_t textLimit = lineSize - 2;
    size_t used = AppendLiteral(line, 0, textLimit, taskName, nameLength);
    used = AppendLiteral(line, used, textLimit - used, TaskSeparator, separatorLength);
    line[used] = '\0';
    if (used < textLimit) {
        size_t room = textLimit - used + 1;
        if (formatter(line + used, room, cutFormat, values) >= 0) {
            // The terminator is set here all the same, and the length taken from the text: a value
            // may hold a NUL ("%c" of 0), and the formatter's count is of the uncut text.
            line[textLimit] = '\0';
            used += strlen(line + used);
        } else {
            // Whatever the formatter left is dropped. The format as written says more than an empty
            // line, and the line still goes out: the host asked for it.
            used = AppendLiteral(line, used, textLimit - used, cutFormat, formatLength);
        }
    }
    // Whatever cut the text (the room left here, the formatter, or a value that ends in half a
    // character), the line end follows a whole character.
    used = WholeCharacterLength(line, used, used, characters);
    line[used] = LineEnd;
    line[used + 1] = '\0';
    return used + 1;
}

size_t CutLineForAtom(char* line, size_t length, const CodePageCharacters& characters)
{
    if (length <= AtomTextLimit) {
        return length;
    }
    size_t markerLength = strlen(LineCutMarker);
    size_t kept = WholeCharacterLength(line, length, AtomTextLimit - markerLength - 1, characters);
    memcpy(line + kept, LineCutMarker, markerLength);
    line[kept + markerLength] = LineEnd;
    line[kept + markerLength + 1] = '\0';
    return kept + markerLength + 1;
}

size_t ComposeSeparatorLine(char* line, size_t lineSize, char fill)
{
    if (lineSize == 0) {
        return 0;
    }
    size_t fillCount = Smaller(SeparatorWidth, lineSize - 1);
    memset(line, fill != '\0' ? fill : SeparatorDefaultFill, fillCount);
    size_t used = fillCount;
    if (used < lineSize - 1) {
        line[used++] = LineEnd;
    }
    line[used] = '\0';
    return used;
}
