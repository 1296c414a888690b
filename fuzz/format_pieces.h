// Formats built only from pieces whose expansion is known: literal text (a '%' in it becomes
// "%%") and conversions, each of which gets a value of exactly the type it reads. A conversion
// is written only for the next argument of a fixed schedule of types, so the arguments a call
// passes are always the ones its format asks for, in order.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "fuzz_input.h"

enum class ArgumentKind { Text, Signed, Unsigned, Wide, Character };

// The schedule of argument types: Text, Signed, Unsigned, Wide, Character, then again.
const size_t KindCount = 5;
const size_t ScheduledArguments = 4 * KindCount;

inline ArgumentKind KindOfArgument(size_t index)
{
    return static_cast<ArgumentKind>(index % KindCount);
}

template <typename Char>
struct FormatPiece {
    std::basic_string<Char> format;
    std::basic_string<Char> expanded; // may hold a NUL from "%c" with value 0
    bool conversion;
};

template <typename Char>
std::basic_string<Char> Widen(const std::string& ascii)
{
    return std::basic_string<Char>(ascii.begin(), ascii.end());
}

const char* const ShortLengths[] = {"", "h", "hh"};
const char* const UnsignedLetters[] = {"u", "x", "X", "o"};

// One conversion for an argument of the given kind: flags, width and precision only where the
// language defines them for that conversion. wide selects the wide-format spelling ("%ls",
// "%lc") and, for Wide, an unsigned long rather than a long long.
inline std::string WriteConversion(FuzzInput& input, ArgumentKind kind, bool wide)
{
    uint8_t shape = input.Byte();
    uint8_t variant = input.Byte();
    std::string flags;
    std::string length;
    std::string letter;
    bool precisionAllowed = true;
    switch (kind) {
    case ArgumentKind::Text:
        flags = "-";
        length = wide ? "l" : "";
        letter = "s";
        break;
    case ArgumentKind::Character:
        flags = "-";
        length = wide ? "l" : "";
        letter = "c";
        precisionAllowed = false;
        break;
    case ArgumentKind::Signed:
        flags = "-+ 0";
        length = ShortLengths[variant % 3];
        letter = variant & 0x10 ? "i" : "d";
        break;
    case ArgumentKind::Unsigned:
    case ArgumentKind::Wide:
        if (kind == ArgumentKind::Unsigned) {
            length = ShortLengths[variant % 3];
        } else {
            length = wide ? "l" : "ll";
        }
        if (kind == ArgumentKind::Wide && !wide) {
            flags = "-+ 0"; // a long long: signed conversions only
            letter = variant & 0x10 ? "i" : "d";
        } else {
            letter = UnsignedLetters[(variant >> 4) % 4];
            flags = letter == "u" ? "-0" : "-0#";
        }
        break;
    }

    std::string conversion = "%";
    for (size_t i = 0; i < flags.size(); ++i) {
        if (shape & (1u << i)) {
            conversion += flags[i];
        }
    }
    if (shape & 0x20) {
        conversion += std::to_string(input.Byte() % 100);
    }
    if (precisionAllowed && (shape & 0x40)) {
        conversion += "." + std::to_string(input.Byte() % 100);
    }
    return conversion + length + letter;
}

// Splits text into literal pieces, each '%' becoming a "%%" piece of its own.
template <typename Char>
void AppendLiteral(std::vector<FormatPiece<Char>>& pieces, const std::basic_string<Char>& text)
{
    std::basic_string<Char> run;
    for (Char c : text) {
        if (c != static_cast<Char>('%')) {
            run += c;
            continue;
        }
        if (!run.empty()) {
            pieces.push_back({run, run, false});
            run.clear();
        }
        pieces.push_back({Widen<Char>("%%"), Widen<Char>("%"), true});
    }
    if (!run.empty()) {
        pieces.push_back({run, run, false});
    }
}

template <typename Char>
std::basic_string<Char> Concatenate(const std::vector<FormatPiece<Char>>& pieces, bool expanded)
{
    std::basic_string<Char> text;
    for (const FormatPiece<Char>& piece : pieces) {
        text += expanded ? piece.expanded : piece.format;
    }
    return text;
}

// The text up to its first NUL: what a C string holding it shows.
template <typename Char>
std::basic_string<Char> UpToTerminator(const std::basic_string<Char>& text)
{
    size_t end = text.find(static_cast<Char>(0));
    return end == std::basic_string<Char>::npos ? text : text.substr(0, end);
}

template <typename Char>
std::basic_string<Char> Prefix(const std::basic_string<Char>& text, size_t length)
{
    return text.size() > length ? text.substr(0, length) : text;
}
