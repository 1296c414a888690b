#include "pattern_dfa.h"

#include <algorithm>

// On x86-64 (every build of the terminal) sixteen bytes are looked at at once while skipping.
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define VORNAK_SKIP_SIXTEEN 1
#endif

using PatternEngine::AfterOther;
using PatternEngine::AfterWord;
using PatternEngine::AtBegin;
using PatternEngine::MaxDfaStates;

TextPattern::Automaton::Automaton(PatternEngine::Nfa&& built, const MatchCodePage& codePage)
    : nfa(std::move(built.states)),
      sets(std::move(built.sets)),
      unanchored(built.unanchored),
      anchored(built.anchored),
      lead(codePage.lead),
      word(PatternEngine::WordBytes())
{
    for (bool isLead : codePage.lead) {
        hasLead |= isLead;
    }
    ComputeClasses();
    ResetCache();
    LearnSkip();
    stepsTaken = 0;  // learning what to skip is no match's cost
}

void TextPattern::Automaton::ComputeClasses()
{
    // Bytes that every set and the word test treat alike share a class.
    std::unordered_map<std::string, int> bySignature;
    for (int c = 0; c < 256; ++c) {
        std::string signature(sets.size() + 2, '0');
        for (size_t s = 0; s < sets.size(); ++s) {
            if (sets[s].test(static_cast<size_t>(c))) {
                signature[s] = '1';
            }
        }
        signature[sets.size()] = word.test(static_cast<size_t>(c)) ? '1' : '0';
        signature[sets.size() + 1] = lead[static_cast<size_t>(c)] ? '1' : '0';
        auto found = bySignature.find(signature);
        if (found == bySignature.end()) {
            found = bySignature.emplace(signature, static_cast<int>(representative.size())).first;
            representative.push_back(static_cast<unsigned char>(c));
        }
        classOf[static_cast<size_t>(c)] = static_cast<uint8_t>(found->second);
    }
}

void TextPattern::Automaton::ResetCache() const
{
    states.clear();
    table.clear();
    endsMatch.clear();
    index.clear();
    for (auto& row : starts) {
        for (int& start : row) {
            start = -1;
        }
    }
    dead = -1;
}

int TextPattern::Automaton::StateFor(std::vector<int>&& steps, Context context) const
{
    if (steps.empty()) {
        context = AtBegin;  // one dead state, whatever came before
    }
    std::string key(1, static_cast<char>(context));
    key.append(reinterpret_cast<const char*>(steps.data()), steps.size() * sizeof(int));
    auto found = index.find(key);
    if (found != index.end()) {
        return found->second;
    }
    int id = static_cast<int>(states.size());
    bool isDead = steps.empty();
    states.push_back(DfaState{std::move(steps), context});
    table.resize(table.size() + representative.size(), -1);
    endsMatch.push_back(-1);
    index.emplace(std::move(key), id);
    if (isDead) {
        dead = id;
    }
    return id;
}

bool TextPattern::Automaton::Passes(Assertion assertion, Context before, int nextByte) const
{
    bool wordBefore = IsWordContext(before);
    bool wordAfter = nextByte >= 0 && word.test(static_cast<size_t>(nextByte));
    switch (assertion) {
    case Assertion::TextBegin: return before == AtBegin;
    case Assertion::TextEnd: return nextByte < 0;
    case Assertion::WordBoundary: return wordBefore != wordAfter;
    case Assertion::NotWordBoundary: return wordBefore == wordAfter;
    }
    return false;
}

bool TextPattern::Automaton::Close(const std::vector<int>& steps, Context before, int nextByte) const
{
    if (mark.size() != nfa.size()) {
        mark.assign(nfa.size(), 0);
    }
    if (++generation == 0) {
        mark.assign(nfa.size(), 0);
        generation = 1;
    }
    closure.clear();
    stack.assign(steps.begin(), steps.end());
    bool matched = false;
    while (!stack.empty()) {
        int id = stack.back();
        stack.pop_back();
        if (id < 0 || mark[static_cast<size_t>(id)] == generation) {
            continue;
        }
        mark[static_cast<size_t>(id)] = generation;
        ++stepsTaken;
        const NfaState& state = nfa[static_cast<size_t>(id)];
        switch (state.kind) {
        case NfaState::Kind::Match: matched = true; break;
        case NfaState::Kind::Bytes: closure.push_back(id); break;
        case NfaState::Kind::Split:
            stack.push_back(state.out1);
            stack.push_back(state.out);
            break;
        case NfaState::Kind::Assert:
            if (Passes(state.assertion, before, nextByte)) {
                stack.push_back(state.out);
            }
            break;
        }
    }
    return matched;
}

int TextPattern::Automaton::Start(bool anchoredStart, Context context) const
{
    int& start = starts[anchoredStart ? 1 : 0][context];
    if (start < 0) {
        if (states.size() >= MaxDfaStates) {
            ResetCache();
        }
        start = StateFor({anchoredStart ? anchored : unanchored}, context);
    }
    return start;
}

int32_t TextPattern::Automaton::ComputeStep(int from, int byteClass) const
{
    if (states.size() >= MaxDfaStates) {
        DfaState kept = states[static_cast<size_t>(from)];
        ResetCache();
        from = StateFor(std::move(kept.steps), kept.context);
    }
    const DfaState& state = states[static_cast<size_t>(from)];
    int byte = representative[static_cast<size_t>(byteClass)];
    bool matched = Close(state.steps, state.context, byte);
    std::vector<int> next;
    for (int id : closure) {
        const NfaState& step = nfa[static_cast<size_t>(id)];
        if (sets[static_cast<size_t>(step.set)].test(static_cast<size_t>(byte))) {
            next.push_back(step.out);
        }
    }
    stepsTaken += closure.size();
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
    Context after = word.test(static_cast<size_t>(byte)) ? AfterWord : AfterOther;
    int to = StateFor(std::move(next), after);
    int32_t encoded = (to * static_cast<int32_t>(representative.size()) << 1) | (matched ? 1 : 0);
    table[static_cast<size_t>(from) * representative.size() + static_cast<size_t>(byteClass)] = encoded;
    return encoded;
}

int32_t TextPattern::Automaton::Step(int from, unsigned char byte) const
{
    size_t byteClass = classOf[byte];
    int32_t encoded = table[static_cast<size_t>(from) * representative.size() + byteClass];
    return encoded >= 0 ? encoded : ComputeStep(from, static_cast<int>(byteClass));
}

bool TextPattern::Automaton::EndsMatch(int state) const
{
    int8_t& known = endsMatch[static_cast<size_t>(state)];
    if (known < 0) {
        const DfaState& dfaState = states[static_cast<size_t>(state)];
        known = Close(dfaState.steps, dfaState.context, -1) ? 1 : 0;
    }
    return known == 1;
}

PatternEngine::Context TextPattern::Automaton::Before(std::string_view text, size_t position) const
{
    if (position == 0) {
        return AtBegin;
    }
    return word.test(static_cast<unsigned char>(text[position - 1])) ? AfterWord : AfterOther;
}

void TextPattern::Automaton::LearnSkip()
{
    interestingCount = 0;
    for (int c = 0; c < 256; ++c) {
        bool boring = true;
        for (Context context : {AfterWord, AfterOther}) {
            int from = Start(false, context);
            int32_t step = Step(from, static_cast<unsigned char>(c));
            Context after = word.test(static_cast<size_t>(c)) ? AfterWord : AfterOther;
            if ((step & 1) != 0 || NextOf(step) != Start(false, after)) {
                boring = false;
            }
        }
        interesting[static_cast<size_t>(c)] = !boring;
        if (!boring) {
            if (interestingCount < 3) {
                fewInteresting[static_cast<size_t>(interestingCount)] = static_cast<char>(c);
            }
            ++interestingCount;
        }
    }
}

// Not memchr: the C run-time's is a byte loop under Wine, and would run once for each such byte.
size_t TextPattern::Automaton::NextInteresting(const char* text, size_t from, size_t size) const
{
    if (interestingCount == 0) {
        return size;
    }
#ifdef VORNAK_SKIP_SIXTEEN
    if (interestingCount <= 3) {
        // Unused places repeat the first byte.
        const __m128i first = _mm_set1_epi8(fewInteresting[0]);
        const __m128i second = _mm_set1_epi8(fewInteresting[interestingCount > 1 ? 1 : 0]);
        const __m128i third = _mm_set1_epi8(fewInteresting[interestingCount > 2 ? 2 : 0]);
        while (from + 16 <= size) {
            __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
            __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, first), _mm_cmpeq_epi8(chunk, second)),
                                        _mm_cmpeq_epi8(chunk, third));
            unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
            if (mask != 0) {
                while ((mask & 1) == 0) {
                    mask >>= 1;
                    ++from;
                }
                return from;
            }
            from += 16;
        }
    }
#endif
    const bool* wanted = interesting.data();
    while (from < size && !wanted[static_cast<unsigned char>(text[from])]) {
        ++from;
    }
    return from;
}

bool TextPattern::Automaton::Search(std::string_view text) const
{
    const char* bytes = text.data();
    const size_t size = text.size();
    const int32_t width = static_cast<int32_t>(representative.size());
    int32_t row = Start(false, AtBegin) * width;
    int32_t idleAfterWord = Start(false, AfterWord) * width;
    int32_t idleAfterOther = Start(false, AfterOther) * width;
    // The table is read directly: a step already known costs one load; only a new one
    // (which may move the table or start it afresh) goes through ComputeStep.
    const int32_t* known = table.data();
    const uint8_t* classes = classOf.data();
    size_t i = 0;
    while (i < size) {
        if ((row == idleAfterWord || row == idleAfterOther) && i > 0) {
            size_t next = NextInteresting(bytes, i, size);
            if (next != i) {
                i = next;
                row = Start(false, Before(text, i)) * width;
                known = table.data();
                if (i == size) {
                    break;
                }
            }
        }
        size_t byteClass = classes[static_cast<unsigned char>(bytes[i])];
        int32_t step = known[static_cast<size_t>(row) + byteClass];
        if (step < 0) {
            size_t before = states.size();
            step = ComputeStep(row / width, static_cast<int>(byteClass));
            if (states.size() < before) {  // started afresh: the idle states have new numbers
                idleAfterWord = Start(false, AfterWord) * width;
                idleAfterOther = Start(false, AfterOther) * width;
            }
            known = table.data();
        }
        if ((step & 1) != 0) {
            stepsTaken += i + 1;
            return true;
        }
        row = step >> 1;
        ++i;
    }
    stepsTaken += size;
    int state = row / width;
    return EndsMatch(state);
}

long long TextPattern::Automaton::LongestAt(std::string_view text, size_t begin) const
{
    int state = Start(true, Before(text, begin));
    long long end = -1;
    for (size_t i = begin; i < text.size(); ++i) {
        int32_t step = Step(state, static_cast<unsigned char>(text[i]));
        if ((step & 1) != 0) {
            end = static_cast<long long>(i);
        }
        state = NextOf(step);
        if (state == dead) {
            stepsTaken += i + 1 - begin;
            return end;
        }
    }
    stepsTaken += text.size() - begin;
    if (EndsMatch(state)) {
        end = static_cast<long long>(text.size());
    }
    return end;
}

size_t TextPattern::Automaton::NextBoundary(std::string_view text, size_t position) const
{
    if (position < text.size() && lead[static_cast<unsigned char>(text[position])] && position + 1 < text.size()) {
        return position + 2;
    }
    return position + 1;
}
