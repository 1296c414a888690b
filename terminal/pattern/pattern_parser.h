// TextPattern's first stage: a pattern read into a tree of nodes over sets of bytes. Private to
// the pattern component.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

#include "text_pattern.h"

namespace PatternEngine {

using ByteSet = std::bitset<256>;

enum class Assertion : uint8_t { TextBegin, TextEnd, WordBoundary, NotWordBoundary };

// The parsed expression. Nodes live in one vector and name their children by index, so that a
// repeat can emit its child as often as it needs to.
struct Node {
    enum class Kind : uint8_t { Empty, Bytes, Sequence, Alternation, Repeat, Assert };
    Kind kind = Kind::Empty;
    int set = -1;               // Bytes: index into the sets
    std::vector<int> children;  // Sequence, Alternation; Repeat: one
    int min = 0;
    int max = -1;  // Repeat: -1 without limit
    Assertion assertion = Assertion::TextBegin;
    size_t at = 0;  // Repeat: where its repeat is written in the pattern (a byte offset)
};

struct ParsedPattern {
    std::vector<Node> nodes;
    std::vector<ByteSet> sets;
    int root = -1;
};

// The bytes of \w, which word boundaries test too.
ByteSet WordBytes();

// Reads pattern as syntax says. Plain text always parses; a regular expression that does not
// gives false with *error saying what is wrong and where.
bool ParsePattern(std::string_view pattern, PatternSyntax syntax, bool caseSensitive, const MatchCodePage& codePage,
                  ParsedPattern* parsed, std::string* error);

// The number of the character at a byte offset of pattern, counted from 1 as the user sees them.
std::string CharacterNumberAt(std::string_view pattern, const MatchCodePage& codePage, size_t offset);
std::string LastCharacterNumber(std::string_view pattern, const MatchCodePage& codePage);

} // namespace PatternEngine
