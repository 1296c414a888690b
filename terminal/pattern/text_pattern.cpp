#include "text_pattern.h"

#include <algorithm>
#include <bitset>
#include <unordered_map>

#include "terminal_texts.h"

// On x86-64 (every build of the terminal) sixteen bytes are looked at at once while skipping.
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define VORNAK_SKIP_SIXTEEN 1
#endif

namespace {

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

// One step of the nondeterministic automaton.
struct NfaState {
    enum class Kind : uint8_t { Bytes, Split, Match, Assert };
    Kind kind = Kind::Match;
    Assertion assertion = Assertion::TextBegin;
    int set = -1;
    int out = -1;
    int out1 = -1;
};

ByteSet WordBytes()
{
    ByteSet set;
    for (int c = 0; c < 256; ++c) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
            set.set(static_cast<size_t>(c));
        }
    }
    return set;
}

ByteSet DigitBytes()
{
    ByteSet set;
    for (int c = '0'; c <= '9'; ++c) {
        set.set(static_cast<size_t>(c));
    }
    return set;
}

ByteSet SpaceBytes()
{
    ByteSet set;
    for (char c : {' ', '\t', '\n', '\r', '\f', '\v'}) {
        set.set(static_cast<unsigned char>(c));
    }
    return set;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool IsPunctuation(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 0x21 && u <= 0x7E && !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
}

class Parser {
public:
    Parser(std::string_view pattern, bool caseSensitive, const MatchCodePage& codePage, std::vector<Node>* nodes,
           std::vector<ByteSet>* sets)
        : pattern_(pattern), caseSensitive_(caseSensitive), codePage_(codePage), nodes_(*nodes), sets_(*sets)
    {
        for (int c = 0; c < 256; ++c) {
            if (codePage.lead[static_cast<size_t>(c)]) {
                leadBytes_.set(static_cast<size_t>(c));
                hasLead_ = true;
            }
        }
        singleBytes_ = ~leadBytes_;
    }

    // The whole pattern as plain text: every character literal.
    int PlainText()
    {
        std::vector<int> sequence;
        while (position_ < pattern_.size()) {
            sequence.push_back(Character());
        }
        return Make(Node::Kind::Sequence, sequence);
    }

    // The whole pattern as a regular expression; -1 with *error on failure.
    int Expression(std::string* error)
    {
        int root = Alternation(0);
        if (root >= 0 && position_ < pattern_.size()) {
            Fail(FillText(PatternUnmatchedClose, {At(position_)}));  // the only way a level-0 parse stops early
        }
        if (!error_.empty()) {
            *error = error_;
            return -1;
        }
        return root;
    }

    // The character at a byte offset of the pattern, counted from 1 as the user sees them.
    std::string At(size_t position) const
    {
        // Counted in characters, as the user sees them.
        size_t count = 1;
        for (size_t i = 0; i < position && i < pattern_.size(); ++i) {
            if (codePage_.lead[static_cast<unsigned char>(pattern_[i])] && i + 1 < pattern_.size()) {
                ++i;
            }
            ++count;
        }
        return std::to_string(count);
    }

    std::string LastCharacter() const
    {
        size_t last = 0;
        for (size_t i = 0; i < pattern_.size(); ++i) {
            last = i;
            if (codePage_.lead[static_cast<unsigned char>(pattern_[i])] && i + 1 < pattern_.size()) {
                ++i;
            }
        }
        return At(last);
    }

private:
    int Fail(const std::string& error)
    {
        if (error_.empty()) {
            error_ = error;
        }
        return -1;
    }

    int Make(Node::Kind kind, std::vector<int> children = {})
    {
        Node node;
        node.kind = kind;
        node.children = std::move(children);
        nodes_.push_back(std::move(node));
        return static_cast<int>(nodes_.size()) - 1;
    }

    int Bytes(const ByteSet& set)
    {
        sets_.push_back(set);
        int node = Make(Node::Kind::Bytes);
        nodes_[static_cast<size_t>(node)].set = static_cast<int>(sets_.size()) - 1;
        return node;
    }

    int Alternatives(int first, int second)
    {
        return Make(Node::Kind::Alternation, {first, second});
    }

    // A single-byte character and, without regard to case, the others of its case family.
    ByteSet Folded(unsigned char c) const
    {
        ByteSet set;
        set.set(c);
        if (!caseSensitive_) {
            for (int other = 0; other < 256; ++other) {
                if (codePage_.lower[static_cast<size_t>(other)] == codePage_.lower[c]) {
                    set.set(static_cast<size_t>(other));
                }
            }
        }
        return set & singleBytes_;
    }

    ByteSet FoldedSet(const ByteSet& set) const
    {
        ByteSet out = set;
        if (!caseSensitive_) {
            for (int c = 0; c < 256; ++c) {
                if (set.test(static_cast<size_t>(c))) {
                    out |= Folded(static_cast<unsigned char>(c));
                }
            }
        }
        return out & singleBytes_;
    }

    // Any whole character from the bytes of set (single-byte ones), or, with complement,
    // any whole character not among them.
    int CharacterClass(const ByteSet& set, bool complement)
    {
        ByteSet singles = FoldedSet(set);
        if (!complement) {
            return Bytes(singles);
        }
        int single = Bytes(~singles & singleBytes_);
        if (!hasLead_) {
            return single;
        }
        int wide = Make(Node::Kind::Sequence, {Bytes(leadBytes_), Bytes(ByteSet().set())});
        return Alternatives(single, wide);
    }

    // One literal character of the pattern (two bytes for a double-byte character).
    int Character()
    {
        unsigned char c = static_cast<unsigned char>(pattern_[position_++]);
        if (codePage_.lead[c] && position_ < pattern_.size()) {
            ByteSet lead;
            lead.set(c);
            ByteSet trail;
            trail.set(static_cast<unsigned char>(pattern_[position_++]));
            return Make(Node::Kind::Sequence, {Bytes(lead), Bytes(trail)});
        }
        ByteSet set = Folded(c);
        if (set.none()) {  // a lone lead byte at the very end: taken as it is
            set.set(c);
        }
        return Bytes(set);
    }

    bool Peek(char c) const { return position_ < pattern_.size() && pattern_[position_] == c; }

    int Alternation(int depth)
    {
        std::vector<int> choices{Sequence(depth)};
        while (error_.empty() && Peek('|')) {
            ++position_;
            choices.push_back(Sequence(depth));
        }
        if (!error_.empty()) {
            return -1;
        }
        return choices.size() == 1 ? choices[0] : Make(Node::Kind::Alternation, choices);
    }

    int Sequence(int depth)
    {
        std::vector<int> items;
        while (error_.empty() && position_ < pattern_.size() && !Peek('|')) {
            if (Peek(')')) {
                if (depth == 0) {
                    return Fail(FillText(PatternUnmatchedClose, {At(position_)}));
                }
                break;
            }
            int atom = Atom(depth);
            if (atom < 0) {
                return -1;
            }
            int min = 0;
            int max = 0;
            size_t repeatStart = position_;
            if (Repeat(&min, &max)) {
                if (nodes_[static_cast<size_t>(atom)].kind == Node::Kind::Assert) {
                    return Fail(FillText(PatternNothingToRepeat, {At(repeatStart), RepeatText(repeatStart)}));
                }
                Node repeat;
                repeat.kind = Node::Kind::Repeat;
                repeat.children = {atom};
                repeat.min = min;
                repeat.max = max;
                repeat.at = repeatStart;
                nodes_.push_back(std::move(repeat));
                atom = static_cast<int>(nodes_.size()) - 1;
                size_t secondStart = position_;
                int ignoredMin = 0;
                int ignoredMax = 0;
                if (error_.empty() && Repeat(&ignoredMin, &ignoredMax)) {
                    return Fail(FillText(PatternRepeatOfRepeat, {At(secondStart), RepeatText(secondStart)}));
                }
            }
            if (!error_.empty()) {
                return -1;
            }
            items.push_back(atom);
        }
        return items.size() == 1 ? items[0] : Make(Node::Kind::Sequence, items);
    }

    std::string RepeatText(size_t start) const
    {
        return std::string(pattern_.substr(start, position_ > start ? position_ - start : 1));
    }

    // Reads a count of a {n,m} repeat; false when there is no number there.
    bool Count(int* value)
    {
        size_t start = position_;
        long long total = 0;
        while (position_ < pattern_.size() && pattern_[position_] >= '0' && pattern_[position_] <= '9') {
            if (total <= MaxRepeatCount) {
                total = total * 10 + (pattern_[position_] - '0');
            }
            ++position_;
        }
        if (position_ == start) {
            return false;
        }
        *value = total > MaxRepeatCount ? MaxRepeatCount + 1 : static_cast<int>(total);
        return true;
    }

    // A repeat after an atom: * + ? {n} {n,} {n,m}, each possibly lazy. A { that does not
    // start a valid count is a literal, and no repeat.
    bool Repeat(int* min, int* max)
    {
        if (position_ >= pattern_.size()) {
            return false;
        }
        size_t start = position_;
        char c = pattern_[position_];
        if (c == '*' || c == '+' || c == '?') {
            ++position_;
            *min = c == '+' ? 1 : 0;
            *max = c == '?' ? 1 : -1;
        } else if (c == '{') {
            ++position_;
            int low = 0;
            int high = 0;
            if (!Count(&low)) {
                position_ = start;
                return false;
            }
            high = low;
            if (Peek(',')) {
                ++position_;
                if (!Count(&high)) {
                    high = -1;
                }
            }
            if (!Peek('}')) {
                position_ = start;
                return false;
            }
            ++position_;
            if (low > MaxRepeatCount || high > MaxRepeatCount) {
                Fail(FillText(PatternRepeatTooLarge, {At(start)}));
                return true;
            }
            if (high >= 0 && high < low) {
                Fail(FillText(PatternRepeatReversed, {At(start), RepeatText(start)}));
                return true;
            }
            *min = low;
            *max = high;
        } else {
            return false;
        }
        if (Peek('?')) {  // lazy: the same lines match
            ++position_;
        }
        return true;
    }

    int Atom(int depth)
    {
        size_t start = position_;
        char c = pattern_[position_];
        switch (c) {
        case '(': {
            if (depth + 1 > MaxGroupDepth) {
                return Fail(FillText(PatternTooDeep, {At(start)}));
            }
            ++position_;
            if (Peek('?')) {
                if (position_ + 1 < pattern_.size() && pattern_[position_ + 1] == ':') {
                    position_ += 2;
                } else {
                    std::string what = position_ + 1 < pattern_.size() ? std::string(1, pattern_[position_ + 1]) : "";
                    return Fail(FillText(PatternUnsupportedGroup, {At(start), what}));
                }
            }
            int inner = Peek(')') ? Make(Node::Kind::Empty) : Alternation(depth + 1);
            if (inner < 0) {
                return -1;
            }
            if (!Peek(')')) {
                return Fail(FillText(PatternMissingClose, {At(start)}));
            }
            ++position_;
            if (nodes_[static_cast<size_t>(inner)].kind == Node::Kind::Assert) {
                return Make(Node::Kind::Sequence, {inner});  // a group may be repeated, an assertion alone not
            }
            return inner;
        }
        case '[':
            return ClassAtom();
        case '.':
            ++position_;
            return CharacterClass(ByteSet(), true);
        case '^':
        case '$': {
            ++position_;
            int node = Make(Node::Kind::Assert);
            nodes_[static_cast<size_t>(node)].assertion = c == '^' ? Assertion::TextBegin : Assertion::TextEnd;
            return node;
        }
        case '*':
        case '+':
        case '?': {
            position_ = start + 1;
            return Fail(FillText(PatternNothingToRepeat, {At(start), std::string(1, c)}));
        }
        case '{': {
            int min = 0;
            int max = 0;
            if (Repeat(&min, &max)) {
                return Fail(FillText(PatternNothingToRepeat, {At(start), RepeatText(start)}));
            }
            return Character();
        }
        case '\\':
            return EscapeAtom();
        default:
            return Character();
        }
    }

    // What an escape stands for, shared by atoms and classes: a set of single bytes (complement
    // set for \D \W \S), or an error. position_ is past the backslash.
    bool Escape(size_t start, ByteSet* set, bool* complement)
    {
        *complement = false;
        if (position_ >= pattern_.size()) {
            Fail(FillText(PatternTrailingBackslash, {At(start)}));
            return false;
        }
        char c = pattern_[position_++];
        set->reset();
        switch (c) {
        case 'd': *set = DigitBytes(); return true;
        case 'D': *set = DigitBytes(); *complement = true; return true;
        case 'w': *set = WordBytes(); return true;
        case 'W': *set = WordBytes(); *complement = true; return true;
        case 's': *set = SpaceBytes(); return true;
        case 'S': *set = SpaceBytes(); *complement = true; return true;
        case 't': set->set('\t'); return true;
        case 'n': set->set('\n'); return true;
        case 'r': set->set('\r'); return true;
        case 'f': set->set('\f'); return true;
        case 'v': set->set('\v'); return true;
        case 'x': {
            int high = position_ < pattern_.size() ? HexValue(pattern_[position_]) : -1;
            int low = position_ + 1 < pattern_.size() ? HexValue(pattern_[position_ + 1]) : -1;
            if (high < 0 || low < 0) {
                Fail(FillText(PatternBadHexEscape, {At(start)}));
                return false;
            }
            position_ += 2;
            set->set(static_cast<size_t>(high * 16 + low));
            return true;
        }
        default: break;
        }
        if (c >= '1' && c <= '9') {
            Fail(FillText(PatternBackreference, {At(start), std::string(1, c)}));
            return false;
        }
        if (IsPunctuation(c)) {
            set->set(static_cast<unsigned char>(c));
            return true;
        }
        std::string shown = static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F
                                ? std::string(1, c)
                                : std::string("x") + "0123456789ABCDEF"[static_cast<unsigned char>(c) >> 4] +
                                      "0123456789ABCDEF"[static_cast<unsigned char>(c) & 15];
        Fail(FillText(PatternUnknownEscape, {At(start), shown}));
        return false;
    }

    int EscapeAtom()
    {
        size_t start = position_++;
        if (position_ < pattern_.size() && (pattern_[position_] == 'b' || pattern_[position_] == 'B')) {
            int node = Make(Node::Kind::Assert);
            nodes_[static_cast<size_t>(node)].assertion =
                pattern_[position_] == 'b' ? Assertion::WordBoundary : Assertion::NotWordBoundary;
            ++position_;
            return node;
        }
        ByteSet set;
        bool complement = false;
        if (!Escape(start, &set, &complement)) {
            return -1;
        }
        return CharacterClass(set, complement);
    }

    // One member of a class at position_: a single byte, or a set from an escape.
    bool ClassMember(ByteSet* set, int* single)
    {
        size_t start = position_;
        unsigned char c = static_cast<unsigned char>(pattern_[position_]);
        *single = -1;
        if (c == '\\') {
            ++position_;
            bool complement = false;
            if (!Escape(start, set, &complement)) {
                return false;
            }
            if (complement) {
                *set = ~*set & singleBytes_;
            } else if (set->count() == 1 && pattern_[start + 1] != 'd' && pattern_[start + 1] != 'w' &&
                       pattern_[start + 1] != 's') {
                for (int b = 0; b < 256; ++b) {
                    if (set->test(static_cast<size_t>(b))) {
                        *single = b;
                    }
                }
            }
            return true;
        }
        if (codePage_.lead[c]) {
            Fail(FillText(PatternWideInClass, {At(start)}));
            return false;
        }
        ++position_;
        set->reset();
        set->set(c);
        *single = c;
        return true;
    }

    int ClassAtom()
    {
        size_t start = position_++;
        bool complement = false;
        if (Peek('^')) {
            complement = true;
            ++position_;
        }
        ByteSet members;
        bool first = true;
        for (;;) {
            if (position_ >= pattern_.size()) {
                return Fail(FillText(PatternUnfinishedClass, {At(start)}));
            }
            if (Peek(']') && !first) {
                ++position_;
                break;
            }
            first = false;
            size_t memberStart = position_;
            ByteSet set;
            int low = -1;
            if (!ClassMember(&set, &low)) {
                return -1;
            }
            // A range: a single member, '-', and another single member that is not the closing ].
            if (low >= 0 && Peek('-') && position_ + 1 < pattern_.size() && pattern_[position_ + 1] != ']') {
                ++position_;
                ByteSet highSet;
                int high = -1;
                if (!ClassMember(&highSet, &high)) {
                    return -1;
                }
                if (high < 0) {  // [a-\d]: the - is literal
                    members |= set;
                    members.set('-');
                    members |= highSet;
                    continue;
                }
                if (high < low) {
                    return Fail(FillText(PatternReversedRange,
                                         {At(memberStart), std::string(pattern_.substr(memberStart, position_ - memberStart))}));
                }
                for (int b = low; b <= high; ++b) {
                    members.set(static_cast<size_t>(b));
                }
                continue;
            }
            members |= set;
        }
        return CharacterClass(members, complement);
    }

    std::string_view pattern_;
    bool caseSensitive_;
    const MatchCodePage& codePage_;
    std::vector<Node>& nodes_;
    std::vector<ByteSet>& sets_;
    ByteSet leadBytes_;
    ByteSet singleBytes_;
    bool hasLead_ = false;
    size_t position_ = 0;
    std::string error_;
};

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
        case Node::Kind::Bytes: {
            NfaState state;
            state.kind = NfaState::Kind::Bytes;
            state.set = node.set;
            state.out = next;
            return Add(state);
        }
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

// What came before a position: the start of the text, a word character, or another one.
enum Context : uint8_t { AtBegin = 0, AfterWord = 1, AfterOther = 2 };

// The automaton keeps at most this many deterministic states; beyond, it starts afresh.
constexpr size_t MaxDfaStates = 2000;

} // namespace

MatchCodePage AsciiCodePage()
{
    MatchCodePage codePage;
    for (int c = 0; c < 256; ++c) {
        codePage.lower[static_cast<size_t>(c)] =
            static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        codePage.lead[static_cast<size_t>(c)] = false;
    }
    return codePage;
}

struct TextPattern::Automaton {
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

    void ComputeClasses()
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

    void ResetCache() const
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

    int StateFor(std::vector<int>&& steps, Context context) const
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

    static bool IsWordContext(Context context) { return context == AfterWord; }

    bool Passes(Assertion assertion, Context before, int nextByte) const
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

    // Follows the empty moves from steps, given what came before and the next byte (-1: the end
    // of the text), into closure. True when the match state is reached.
    bool Close(const std::vector<int>& steps, Context before, int nextByte) const
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

    int Start(bool anchoredStart, Context context) const
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

    int32_t ComputeStep(int from, int byteClass) const
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

    // The state a step leads to.
    int NextOf(int32_t step) const { return (step >> 1) / static_cast<int>(representative.size()); }

    int32_t Step(int from, unsigned char byte) const
    {
        size_t byteClass = classOf[byte];
        int32_t encoded = table[static_cast<size_t>(from) * representative.size() + byteClass];
        return encoded >= 0 ? encoded : ComputeStep(from, static_cast<int>(byteClass));
    }

    bool EndsMatch(int state) const
    {
        int8_t& known = endsMatch[static_cast<size_t>(state)];
        if (known < 0) {
            const DfaState& dfaState = states[static_cast<size_t>(state)];
            known = Close(dfaState.steps, dfaState.context, -1) ? 1 : 0;
        }
        return known == 1;
    }

    Context Before(std::string_view text, size_t position) const
    {
        if (position == 0) {
            return AtBegin;
        }
        return word.test(static_cast<unsigned char>(text[position - 1])) ? AfterWord : AfterOther;
    }

    void LearnSkip()
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

    // The first position at or after from holding a byte that can start progress. Not memchr:
    // the C run-time's is a byte loop under Wine, and would run once for each such byte.
    size_t NextInteresting(const char* text, size_t from, size_t size) const
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

    bool Search(std::string_view text) const
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

    // The end of the longest match starting at begin; -1 when none starts there.
    long long LongestAt(std::string_view text, size_t begin) const
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

    size_t NextBoundary(std::string_view text, size_t position) const
    {
        if (position < text.size() && lead[static_cast<unsigned char>(text[position])] && position + 1 < text.size()) {
            return position + 2;
        }
        return position + 1;
    }
};

namespace {

std::string TooLargeError(const Parser& parser, const NfaBuilder& builder)
{
    return FillText(PatternTooLarge,
                    {builder.TooLargeInRepeat() ? parser.At(builder.TooLargeAt()) : parser.LastCharacter()});
}

} // namespace

TextPattern::TextPattern() = default;
TextPattern::~TextPattern() = default;
TextPattern::TextPattern(TextPattern&&) noexcept = default;
TextPattern& TextPattern::operator=(TextPattern&&) noexcept = default;

bool TextPattern::Compile(std::string_view pattern, PatternSyntax syntax, bool caseSensitive,
                          const MatchCodePage& codePage, std::string* error)
{
    auto automaton = std::make_unique<Automaton>();
    std::vector<Node> nodes;
    Parser parser(pattern, caseSensitive, codePage, &nodes, &automaton->sets);
    int root = -1;
    if (syntax == PatternSyntax::PlainText) {
        root = parser.PlainText();
    } else {
        root = parser.Expression(error);
        if (root < 0) {
            return false;
        }
    }
    automaton->lead = codePage.lead;
    for (bool isLead : codePage.lead) {
        automaton->hasLead |= isLead;
    }
    automaton->word = WordBytes();
    NfaBuilder builder(nodes, &automaton->nfa);
    NfaState match;
    match.kind = NfaState::Kind::Match;
    int matchState = builder.Add(match);
    automaton->anchored = builder.Emit(root, matchState);
    // Searching anywhere: before the pattern, any whole characters.
    ByteSet all;
    all.set();
    ByteSet leads;
    for (int c = 0; c < 256; ++c) {
        leads[static_cast<size_t>(c)] = codePage.lead[static_cast<size_t>(c)];
    }
    automaton->sets.push_back(all & ~leads);
    int singleSet = static_cast<int>(automaton->sets.size()) - 1;
    automaton->sets.push_back(leads);
    int leadSet = static_cast<int>(automaton->sets.size()) - 1;
    automaton->sets.push_back(all);
    int anySet = static_cast<int>(automaton->sets.size()) - 1;
    int prefix = builder.Split(automaton->anchored, -1);
    NfaState single;
    single.kind = NfaState::Kind::Bytes;
    single.set = singleSet;
    single.out = prefix;
    int singleStep = builder.Add(single);
    int wideStep = -1;
    if (automaton->hasLead) {
        NfaState trail;
        trail.kind = NfaState::Kind::Bytes;
        trail.set = anySet;
        trail.out = prefix;
        NfaState lead;
        lead.kind = NfaState::Kind::Bytes;
        lead.set = leadSet;
        lead.out = builder.Add(trail);
        wideStep = builder.Add(lead);
    }
    if (builder.TooLarge()) {
        *error = TooLargeError(parser, builder);
        return false;
    }
    automaton->nfa[static_cast<size_t>(prefix)].out1 =
        wideStep >= 0 ? builder.Split(singleStep, wideStep) : singleStep;
    if (builder.TooLarge()) {
        *error = TooLargeError(parser, builder);
        return false;
    }
    automaton->unanchored = prefix;
    automaton->ComputeClasses();
    automaton->ResetCache();
    automaton->LearnSkip();
    automaton->stepsTaken = 0;
    automaton_ = std::move(automaton);
    return true;
}

size_t TextPattern::StepsPerByteLimit() const
{
    return automaton_ != nullptr ? 2 * automaton_->nfa.size() + 1 : 0;
}

uint64_t TextPattern::StepsTaken() const
{
    return automaton_ != nullptr ? automaton_->stepsTaken : 0;
}

bool TextPattern::Matches(std::string_view text) const
{
    return automaton_ != nullptr && automaton_->Search(text);
}

bool TextPattern::Find(std::string_view text, size_t from, MatchSpan* span) const
{
    if (automaton_ == nullptr || from > text.size() || !automaton_->Search(text)) {
        return false;
    }
    // Boundaries of whole characters, counted from the start of the text.
    size_t position = 0;
    while (position < from) {
        position = automaton_->NextBoundary(text, position);
    }
    for (; position <= text.size(); position = automaton_->NextBoundary(text, position)) {
        long long end = automaton_->LongestAt(text, position);
        if (end >= 0) {
            span->begin = position;
            span->end = static_cast<size_t>(end);
            return true;
        }
    }
    return false;
}

std::vector<MatchSpan> TextPattern::FindAll(std::string_view text) const
{
    std::vector<MatchSpan> spans;
    size_t from = 0;
    MatchSpan span;
    while (from <= text.size() && Find(text, from, &span)) {
        if (span.end > span.begin) {
            spans.push_back(span);
            from = span.end;
        } else {
            from = automaton_->NextBoundary(text, span.begin);
        }
    }
    return spans;
}
