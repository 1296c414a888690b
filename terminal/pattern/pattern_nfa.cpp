#include "pattern_nfa.h"

namespace PatternEngine {

namespace {

NfaState ByteStep(int set, int out)
{
    NfaState state;
    state.kind = NfaState::Kind::Bytes;
    state.set = set;
    state.out = out;
    return state;
}

// Thompson's construction, built backwards: each node is emitted with the state that follows it.
class NfaBuilder {
public:
    NfaBuilder(const std::vector<Node>& nodes, std::vector<NfaState>* states) : nodes_(nodes), states_(*states) {}

    bool TooLarge() const { return tooLarge_; }
    // Where the pattern grew too large: the outermost repeat being written out then, if any.
    bool TooLargeInRepeat() const { return tooLargeInRepeat_; }
    size_t TooLargeAt() const { return tooLargeAt_; }

    int Add(NfaState state)
    {
        if (states_.size() >= MaxPatternSteps) {
            if (!tooLarge_ && repeatDepth_ > 0) {
                tooLargeInRepeat_ = true;
                tooLargeAt_ = outermostRepeat_;
            }
            tooLarge_ = true;
            return 0;
        }
        states_.push_back(state);
        return static_cast<int>(states_.size()) - 1;
    }

    int Split(int out, int out1)
    {
        NfaState state;
        state.kind = NfaState::Kind::Split;
        state.out = out;
        state.out1 = out1;
        return Add(state);
    }

    int Emit(int index, int next)
    {
        if (tooLarge_) {
            return 0;
        }
        const Node& node = nodes_[static_cast<size_t>(index)];
        switch (node.kind) {
        case Node::Kind::Empty: return next;
        case Node::Kind::Bytes: return Add(ByteStep(node.set, next));
        case Node::Kind::Assert: {
            NfaState state;
            state.kind = NfaState::Kind::Assert;
            state.assertion = node.assertion;
            state.out = next;
            return Add(state);
        }
        case Node::Kind::Sequence:
            for (size_t i = node.children.size(); i-- > 0;) {
                next = Emit(node.children[i], next);
            }
            return next;
        case Node::Kind::Alternation: {
            int entry = Emit(node.children.back(), next);
            for (size_t i = node.children.size() - 1; i-- > 0;) {
                entry = Split(Emit(node.children[i], next), entry);
            }
            return entry;
        }
        case Node::Kind::Repeat: {
            if (repeatDepth_++ == 0) {
                outermostRepeat_ = node.at;
            }
            int child = node.children[0];
            int entry = next;
            if (node.max < 0) {
                int loop = Split(-1, next);
                int body = Emit(child, loop);
                if (!tooLarge_) {
                    states_[static_cast<size_t>(loop)].out = body;
                }
                entry = loop;
            } else {
                for (int i = node.min; i < node.max && !tooLarge_; ++i) {
                    entry = Split(Emit(child, entry), next);
                }
            }
            for (int i = 0; i < node.min && !tooLarge_; ++i) {
                entry = Emit(child, entry);
            }
            --repeatDepth_;
            return entry;
        }
        }
        return next;
    }

private:
    const std::vector<Node>& nodes_;
    std::vector<NfaState>& states_;
    bool tooLarge_ = false;
    bool tooLargeInRepeat_ = false;
    size_t tooLargeAt_ = 0;
    int repeatDepth_ = 0;
    size_t outermostRepeat_ = 0;
};

} // namespace

bool BuildNfa(const ParsedPattern& parsed, const MatchCodePage& codePage, Nfa* nfa, size_t* tooLargeAt)
{
    nfa->sets = parsed.sets;
    NfaBuilder builder(parsed.nodes, &nfa->states);
    NfaState match;
    match.kind = NfaState::Kind::Match;
    int matchState = builder.Add(match);
    nfa->anchored = builder.Emit(parsed.root, matchState);
    // Searching anywhere: before the pattern, any whole characters.
    ByteSet all;
    all.set();
    ByteSet leads;
    bool hasLead = false;
    for (int c = 0; c < 256; ++c) {
        leads[static_cast<size_t>(c)] = codePage.lead[static_cast<size_t>(c)];
        hasLead |= codePage.lead[static_cast<size_t>(c)];
    }
    nfa->sets.push_back(all & ~leads);
    int singleSet = static_cast<int>(nfa->sets.size()) - 1;
    nfa->sets.push_back(leads);
    int leadSet = static_cast<int>(nfa->sets.size()) - 1;
    nfa->sets.push_back(all);
    int anySet = static_cast<int>(nfa->sets.size()) - 1;
    int prefix = builder.Split(nfa->anchored, -1);
    int singleStep = builder.Add(ByteStep(singleSet, prefix));
    int wideStep = -1;
    if (hasLead) {
        wideStep = builder.Add(ByteStep(leadSet, builder.Add(ByteStep(anySet, prefix))));
    }
    if (!builder.TooLarge()) {
        nfa->states[static_cast<size_t>(prefix)].out1 = wideStep >= 0 ? builder.Split(singleStep, wideStep) : singleStep;
    }
    if (builder.TooLarge()) {
        *tooLargeAt = builder.TooLargeInRepeat() ? builder.TooLargeAt() : std::string_view::npos;
        return false;
    }
    nfa->unanchored = prefix;
    return true;
}

} // namespace PatternEngine
