// Line composition of the debug message library: task name taken literally, format cut to the
// composition buffer (256 bytes without a name, 277 with name and " : "), expanded by the
// formatter it is given or, when the formatter refuses it, standing as written; the line cut so
// that its line end fits, and in the library's buffer cut again for an atom (255 bytes: the
// first 251 or fewer, "..." and the line end). Text is read in one of four code pages: of one
// byte a character, Shift JIS (932), GBK (936) or UTF-8 (65001); no cut falls inside one of
// their characters. Every result is compared whole with a composition worked out here piece by
// piece.
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
const size_t LibraryLineBuffer = 260;
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

enum class CodePage { SingleByte, ShiftJis, Gbk, Utf8 };

bool IsLeadByte(CodePage codePage, unsigned char byte)
{
    switch (codePage) {
    case CodePage::ShiftJis:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case CodePage::Gbk:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

// The bytes a UTF-8 sequence begun by byte announces.
size_t AnnouncedLength(unsigned char byte)
{
    if (byte >= 0xC0 && byte <= 0xDF) {
        return 2;
    }
    if (byte >= 0xE0 && byte <= 0xEF) {
        return 3;
    }
    return byte >= 0xF0 && byte <= 0xF7 ? 4 : 1;
}

// Where the characters of text end, walking from its start. A double-byte lead byte takes the
// next byte, whatever it is; a UTF-8 lead byte the continuation bytes after it, up to the number
// it announces. A character the text ends in the middle of has no end.
std::vector<size_t> CharacterEnds(const std::string& text, CodePage codePage)
{
    std::vector<size_t> ends;
    size_t at = 0;
    while (at < text.size()) {
        unsigned char byte = static_cast<unsigned char>(text[at]);
        size_t wanted = codePage == CodePage::Utf8 ? AnnouncedLength(byte) : IsLeadByte(codePage, byte) ? 2 : 1;
        size_t next = at + 1;
        while (next < at + wanted && next < text.size() &&
               (codePage != CodePage::Utf8 || (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)) {
            ++next;
        }
        if (next < at + wanted && next == text.size()) {
            break;
        }
        ends.push_back(next);
        at = next;
    }
    return ends;
}

// The longest start of text of at most limit bytes that ends after a whole character.
size_t WholeLength(const std::string& text, size_t limit, CodePage codePage)
{
    size_t whole = 0;
    for (size_t end : CharacterEnds(text, codePage)) {
        if (end <= limit) {
            whole = end;
        }
    }
    return whole;
}

std::string WholePrefix(const std::string& text, size_t limit, CodePage codePage)
{
    return text.substr(0, WholeLength(text, limit, codePage));
}

// The pieces of the format that the composition buffer leaves room for: the cut falls after a
// whole character, and a literal may be cut while a conversion is kept whole or dropped.
std::vector<FormatPiece<char>> CutFormat(const std::vector<FormatPiece<char>>& pieces, size_t limit,
                                         CodePage codePage)
{
    std::string text = Concatenate(pieces, false);
    std::vector<size_t> ends = CharacterEnds(text, codePage);
    // The places a cut may fall: after a whole character, between pieces or inside a literal.
    size_t start = 0;
    std::vector<bool> pieceAllows(text.size() + 1, false);
    for (const FormatPiece<char>& piece : pieces) {
        pieceAllows[start] = true;
        for (size_t i = 1; !piece.conversion && i < piece.format.size(); ++i) {
            pieceAllows[start + i] = true;
        }
        start += piece.format.size();
    }
    pieceAllows[start] = true;
    size_t cut = 0;
    for (size_t end : ends) {
        if (end <= limit && pieceAllows[end]) {
            cut = end;
        }
    }

    std::vector<FormatPiece<char>> kept;
    size_t used = 0;
    for (const FormatPiece<char>& piece : pieces) {
        if (used + piece.format.size() <= cut) {
            kept.push_back(piece);
            used += piece.format.size();
            continue;
        }
        if (used < cut) {
            std::string part = piece.format.substr(0, cut - used);
            kept.push_back({part, part, false});
        }
        break;
    }
    return kept;
}

std::string ExpectedLine(size_t lineSize, const std::string* name, const std::vector<FormatPiece<char>>& pieces,
                         bool refused, CodePage codePage)
{
    if (lineSize < 2) {
        return "";
    }
    // Name and separator take their share of the composition buffer, and are cut to it too, the
    // name after a whole character of its own.
    std::string prefix;
    size_t formatLimit = FormatCutWithoutName;
    if (name != nullptr) {
        std::string wholeName = WholePrefix(*name, CompositionBuffer - 1, codePage);
        prefix = wholeName + Prefix(NameSeparator, CompositionBuffer - 1 - wholeName.size());
        formatLimit = CompositionBuffer - 1 - prefix.size();
    }
    // A refused format stands as written: its conversions unexpanded, so no NUL from a value.
    std::string text = UpToTerminator(prefix + Concatenate(CutFormat(pieces, formatLimit, codePage), !refused));
    // Cut to the room first, then back to the end of the last whole character in what is left.
    std::string cut = Prefix(text, lineSize - 2);
    return WholePrefix(cut, cut.size(), codePage) + "\n";
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

// The library's own description of a code page, for the one the input chose.
CodePageCharacters LibraryCharacters(CodePage codePage)
{
    switch (codePage) {
    case CodePage::ShiftJis:
        return ShiftJisCharacters();
    case CodePage::Gbk:
        return GbkCharacters();
    case CodePage::Utf8:
        return Utf8Characters;
    default:
        return SingleByteCharacters;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    uint8_t mode = input.Byte();
    size_t lineSize = (mode & 0x80) ? input.Size(LargestLineSize) : LibraryLineBuffer;
    bool named = (mode & 1) == 0;
    CodePage codePage = static_cast<CodePage>((mode >> 1) & 3);
    bool refused = (mode & 0x40) != 0;
    LineFormatter formatter = refused ? RefusingFormatter : StandardFormatter;
    CodePageCharacters characters = LibraryCharacters(codePage);
    std::string name = input.TextIf<char>(named, NameLimit);
    FuzzedFormat<char> format(input);

    ExactText<char> nameCopy(name);
    GuardedBuffer<char> line(lineSize);
    const char* taskName = named ? nameCopy.Get() : nullptr;
    size_t length = format.CallWith([&](const char* formatText, auto... arguments) {
        return ComposeIn(characters, formatter, line.Data(), lineSize, taskName, formatText, arguments...);
    });

    CheckBounds(line, "line");
    std::string expected = ExpectedLine(lineSize, named ? &name : nullptr, format.pieces, refused, codePage);
    FUZZ_CHECK(length == expected.size(), "line length");
    if (lineSize > 0) {
        FUZZ_CHECK(line.Text() == expected, "line text");
    }
    if (lineSize == LibraryLineBuffer) {
        // In the library's buffer a line that did not fit an atom shows as too long even after its
        // cut backed off to a whole character; the atom's cut then keeps its first 251 bytes, or
        // fewer so as to end after a whole character, whether or not the buffer cut it already.
        FUZZ_CHECK(length < LibraryLineBuffer, "line within its buffer");
        std::string uncut =
            ExpectedLine(static_cast<size_t>(-1), named ? &name : nullptr, format.pieces, refused, codePage);
        FUZZ_CHECK((length <= AtomLimit) == (uncut.size() <= AtomLimit), "line too long shows as such");
        size_t cutLength = CutLineForAtom(line.Data(), length, characters);
        CheckBounds(line, "line cut for an atom");
        std::string forAtom =
            expected.size() <= AtomLimit
                ? expected
                : WholePrefix(expected, AtomLimit - CutMarker.size() - 1, codePage) + CutMarker + "\n";
        FUZZ_CHECK(cutLength == forAtom.size(), "line length for an atom");
        FUZZ_CHECK(line.Text() == forAtom, "line text for an atom");
    }

    CheckSeparatorLine(lineSize, static_cast<char>(input.Byte()));
    return 0;
}
