// What a rule or a search looks for in a line's text: a plain text found anywhere in it, or a
// regular expression. Both run as a deterministic automaton built while it runs, so a match costs
// one table step per byte whatever the pattern: no backtracking, no stack that input can grow.
//
// Regular expressions, the subset understood (anything else is refused with the reason):
//   literal characters; \ before any punctuation takes it literally; \t \n \r \f \v, \xHH
//   .          any character
//   [abc] [a-z] [^...]   a class (escapes, \d \w \s allowed inside; ] first and - first or last
//              are literal)
//   \d \D \w \W \s \S   digit, word character (ASCII letters, digits, _), white space, and not
//   ^ $        start and end of the line's text; \b \B word boundary and not
//   ( ) (?: )  groups; | alternatives
//   * + ? {n} {n,} {n,m}   repeats (n, m at most 1000), also lazy (*? ...), which match the same lines
// Not understood: backreferences, lookaround, named groups, inline flags, possessive repeats.
//
// Texts are bytes in the lines' code page; a double-byte code page's characters are kept whole
// (a match never starts on the second byte of a character, and . takes both bytes).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The lines' code page, as matching needs to know it.
struct MatchCodePage {
    // Each byte's lower-case form, for matching without regard to case; only single-byte
    // characters are folded.
    std::array<unsigned char, 256> lower;
    // Lead bytes of a double-byte code page: such a byte and the next are one character.
    std::array<bool, 256> lead;
};

// ASCII letters fold, every byte is a character of its own (what UTF-8 patterns against UTF-8
// text, or any single-byte code page without its own letters folded, need).
MatchCodePage AsciiCodePage();

enum class PatternSyntax : uint8_t {
    PlainText,
    RegularExpression,
};

struct MatchSpan {
    size_t begin = 0;
    size_t end = 0;
};

class TextPattern {
public:
    TextPattern();
    ~TextPattern();
    TextPattern(TextPattern&&) noexcept;
    TextPattern& operator=(TextPattern&&) noexcept;

    // Compiles pattern (bytes in the lines' code page). On failure returns false and *error
    // says what is wrong and where ("unmatched ) at character 4"); the pattern is then left as
    // it was. An empty pattern matches every text.
    bool Compile(std::string_view pattern, PatternSyntax syntax, bool caseSensitive, const MatchCodePage& codePage,
                 std::string* error);

    bool IsCompiled() const { return automaton_ != nullptr; }

    // Whether the pattern occurs anywhere in text. False before a successful Compile.
    // Not for two threads at once: the automaton grows as it meets new input.
    bool Matches(std::string_view text) const;

    // The leftmost match starting at or after from (a character boundary), the longest there.
    // An empty regular expression match is a match too (span of length 0).
    bool Find(std::string_view text, size_t from, MatchSpan* span) const;

    // Every non-empty match, left to right, none overlapping: what the view marks in a row.
    std::vector<MatchSpan> FindAll(std::string_view text) const;

    // What matching costs, in steps: one for each byte looked at, one for each state of the
    // pattern's automaton visited where a byte leads somewhere not met before (or met and
    // forgotten). Matches(text) takes at most (text.size() + 1) * StepsPerByteLimit() steps: what
    // a rule costs per byte of a line at worst, twice the pattern's states and one. Find and
    // FindAll look for the longest match at each start: up to (text.size() + 1) squared times the
    // limit. 0 before a successful Compile.
    size_t StepsPerByteLimit() const;
    // Every step taken since the pattern was compiled.
    uint64_t StepsTaken() const;

private:
    struct Automaton;
    std::unique_ptr<Automaton> automaton_;
};

// Limits that keep a hostile pattern from costing unbounded memory or time.
constexpr int MaxRepeatCount = 1000;
constexpr size_t MaxPatternSteps = 20000;
constexpr int MaxGroupDepth = 100;
