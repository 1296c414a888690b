// Line composition of the debug message library: task name taken literally, format cut to the
// composition buffer (256 bytes without a name, 277 with name and " : "), expanded by the
// formatter it is given or, when the formatter refuses it, standing as written; the line cut so
// that its line end fits, and in the library's buffer cut again for an atom (255 characters: the
// first 251, "..." and the line end). Every result is compared whole with a composition worked
// out here piece by piece.
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "format_pieces.h"
#include "fuzz_input.h"
#include "fuzz_checks.h"
#include "line_compose.h"
#include "line_formatters.h"
#include "scheduled_format.h"

namespace {

const size_t CompositionBuffer = 277; // terminator included
const size_t FormatCutWithoutName = 256;
const size_t AtomLimit = 255;
const size_t LibraryLineBuffer = 257;
const std::string NameSeparator = " : ";
const size_t SeparatorFillCount = 70;
const std::string CutMarker = "...";

static_assert(ComposeBufferSize == CompositionBuffer, "composition buffer");
static_assert(FormatCutWithoutTask == FormatCutWithoutName, "format cut without a task name");
static_assert(AtomTextLimit == AtomLimit, "atom text limit");
static_assert(LineBufferSize == LibraryLineBuffer, "line buffer");

// Line sizes tried besides the library's own: every one up to well past the composition buffer.
const size_t LargestLineSize = 2 * CompositionBuffer;

const size_t NameLimit = 600;

// The pieces of the format that the composition buffer leaves room for: a literal may be cut,
// a conversion is kept whole or dropped.
std::vector<FormatPiece<char>> CutFormat(const std::vector<FormatPiece<char>>& pieces, size_t limit)
{
    std::vector<FormatPiece<char>> kept;
    size_t used = 0;
    for (const FormatPiece<char>& piece : pieces) {
        size_t room = limit - used;
        if (piece.format.size() <= room) {
            kept.push_back(piece);
            used += piece.format.size();
            continue;
        }
        if (!piece.conversion && room > 0) {
            std::string part = piece.format.substr(0, room);
            kept.push_back({part, part, false});
        }
        break;
    }
    return kept;
}

std::string ExpectedLine(size_t lineSize, const std::string* name, const std::vector<FormatPiece<char>>& pieces,
                         bool refused)
{
    if (lineSize < 2) {
        return "";
    }
    // Name and separator take their share of the composition buffer, and are cut to it too.
    std::string prefix;
    size_t formatLimit = FormatCutWithoutName;
    if (name != nullptr) {
        prefix = Prefix(*name + NameSeparator, CompositionBuffer - 1);
        formatLimit = CompositionBuffer - 1 - prefix.size();
    }
    // A refused format stands as written: its conversions unexpanded, so no NUL from a value.
    std::string text = UpToTerminator(prefix + Concatenate(CutFormat(pieces, formatLimit), !refused));
    return Prefix(text, lineSize - 2) + "\n";
}

void CheckSeparatorLine(size_t lineSize, char fill)
{
    GuardedBuffer<char> line(lineSize);
    size_t length = ComposeSeparatorLine(line.Data(), lineSize, fill);
    CheckBounds(line, "separator line");
    std::string whole = std::string(SeparatorFillCount, fill != '\0' ? fill : '-') + "\n";
    std::string expected = lineSize == 0 ? "" : Prefix(whole, lineSize - 1);
    FUZZ_CHECK(length == expected.size(), "separator line length");
    if (lineSize > 0) {
        FUZZ_CHECK(line.Text() == expected, "separator line text");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    uint8_t mode = input.Byte();
    size_t lineSize = (mode & 0x80) ? input.Size(LargestLineSize) : LibraryLineBuffer;
    bool named = (mode & 1) == 0;
    bool refused = (mode & 0x40) != 0;
    LineFormatter formatter = refused ? RefusingFormatter : StandardFormatter;
    std::string name = input.TextIf<char>(named, NameLimit);
    FuzzedFormat<char> format(input);

    ExactText<char> nameCopy(name);
    GuardedBuffer<char> line(lineSize);
    const char* taskName = named ? nameCopy.Get() : nullptr;
    size_t length = format.CallWith([&](const char* formatText, auto... arguments) {
        return ComposeWith(formatter, line.Data(), lineSize, taskName, formatText, arguments...);
    });

    CheckBounds(line, "line");
    std::string expected = ExpectedLine(lineSize, named ? &name : nullptr, format.pieces, refused);
    FUZZ_CHECK(length == expected.size(), "line length");
    if (lineSize > 0) {
        FUZZ_CHECK(line.Text() == expected, "line text");
    }
    if (lineSize == LibraryLineBuffer) {
        // In the library's buffer a line that did not fit an atom shows as one character too
        // long; the atom's cut then keeps its first 251 characters, whether or not the buffer
        // cut it already.
        FUZZ_CHECK(length <= AtomLimit + 1, "line within its buffer");
        std::string uncut = ExpectedLine(static_cast<size_t>(-1), named ? &name : nullptr, format.pieces, refused);
        FUZZ_CHECK((length <= AtomLimit) == (uncut.size() <= AtomLimit), "line too long shows as such");
        size_t cutLength = CutLineForAtom(line.Data(), length);
        CheckBounds(line, "line cut for an atom");
        std::string forAtom = uncut.size() <= AtomLimit
                                  ? uncut
                                  : uncut.substr(0, AtomLimit - CutMarker.size() - 1) + CutMarker + "\n";
        FUZZ_CHECK(cutLength == forAtom.size(), "line length for an atom");
        FUZZ_CHECK(line.Text() == forAtom, "line text for an atom");
    }

    CheckSeparatorLine(lineSize, static_cast<char>(input.Byte()));
    return 0;
}
