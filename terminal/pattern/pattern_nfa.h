// TextPattern's second stage: the parsed pattern as a nondeterministic automaton (Thompson's
// construction), with a way in for a match that may start anywhere. Private to the pattern
// component.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "pattern_parser.h"

namespace PatternEngine {

// One step of the nondeterministic automaton.
struct NfaState {
    enum class Kind : uint8_t { Bytes, Split, Match, Assert };
    Kind kind = Kind::Match;
    Assertion assertion = Assertion::TextBegin;
    int set = -1;
    int out = -1;
    int out1 = -1;
};

struct Nfa {
    std::vector<NfaState> states;
    std::vector<ByteSet> sets;  // the parsed pattern's, then those of the way in
    int anchored = 0;           // a match that starts where the search starts
    int unanchored = 0;         // any whole characters first, then the pattern
};

// False when the automaton would take more than MaxPatternSteps states; *tooLargeAt is then the
// byte offset of the outermost repeat being written out, npos when none was.
bool BuildNfa(const ParsedPattern& parsed, const MatchCodePage& codePage, Nfa* nfa, size_t* tooLargeAt);

} // namespace PatternEngine
