// TextPattern's third stage: the deterministic automaton built from the nondeterministic one as
// input meets it, one table step per byte, and the searches over it. Private to the pattern
// component.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pattern_nfa.h"
#include "text_pattern.h"

namespace PatternEngine {

// What came before a position: the start of the text, a word character, or another one.
enum Context : uint8_t { AtBegin = 0, AfterWord = 1, AfterOther = 2 };

// The automaton keeps at most this many deterministic states; beyond, it starts afresh.
constexpr size_t MaxDfaStates = 2000;

} // namespace PatternEngine

struct TextPattern::Automaton {
    using Assertion = PatternEngine::Assertion;
    using ByteSet = PatternEngine::ByteSet;
    using Context = PatternEngine::Context;
    using NfaState = PatternEngine::NfaState;

    Automaton(PatternEngine::Nfa&& built, const MatchCodePage& codePage);

    std::vector<NfaState> nfa;
    std::vector<ByteSet> sets;
    int unanchored = 0;
    int anchored = 0;
    std::array<bool, 256> lead{};
    bool hasLead = false;
    std::array<uint8_t, 256> classOf{};
    std::vector<unsigned char> representative;  // one byte of each class
    ByteSet word;

    // The deterministic automaton, built as input meets it. A state is a set of steps waiting for
    // the next byte (before following empty moves) and what came before.
    struct DfaState {
        std::vector<int> steps;
        Context context;
    };
    mutable std::vector<DfaState> states;
    // Per state and byte class: (the next state's row in this table << 1) | (a match ended before
    // this byte); -1 unknown. Rows rather than state numbers spare the search a multiplication.
    mutable std::vector<int32_t> table;
    mutable std::vector<int8_t> endsMatch;  // per state: a match ends at the end of the text; -1 unknown
    mutable std::unordered_map<std::string, int> index;
    mutable int starts[2][3];  // [anchored][context], -1 unknown
    mutable int dead = -1;
    // Bytes after which an unanchored search that has made no progress has still made none: a
    // search skips over them. Learnt once, while compiling.
    std::array<bool, 256> interesting{};
    int interestingCount = 0;
    std::array<char, 3> fewInteresting{};  // the interesting bytes, when at most three
    mutable std::vector<uint32_t> mark;
    mutable uint32_t generation = 0;
    mutable uint64_t stepsTaken = 0;  // what matching has cost: bytes looked at and states visited
    mutable std::vector<int> stack;
    mutable std::vector<int> closure;

    void ComputeClasses();
    void ResetCache() const;
    int StateFor(std::vector<int>&& steps, Context context) const;
    static bool IsWordContext(Context context) { return context == PatternEngine::AfterWord; }
    bool Passes(Assertion assertion, Context before, int nextByte) const;
    // Follows the empty moves from steps, given what came before and the next byte (-1: the end
    // of the text), into closure. True when the match state is reached.
    bool Close(const std::vector<int>& steps, Context before, int nextByte) const;
    int Start(bool anchoredStart, Context context) const;
    int32_t ComputeStep(int from, int byteClass) const;
    // The state a step leads to.
    int NextOf(int32_t step) const { return (step >> 1) / static_cast<int>(representative.size()); }
    int32_t Step(int from, unsigned char byte) const;
    bool EndsMatch(int state) const;
    Context Before(std::string_view text, size_t position) const;
    void LearnSkip();
    // The first position at or after from holding a byte that can start progress.
    size_t NextInteresting(const char* text, size_t from, size_t size) const;
    bool Search(std::string_view text) const;
    // The end of the longest match starting at begin; -1 when none starts there.
    long long LongestAt(std::string_view text, size_t begin) const;
    size_t NextBoundary(std::string_view text, size_t position) const;
};
