#include "pattern_parser.h"

#include "ascii_text.h"
#include "terminal_texts.h"

namespace PatternEngine {

namespace {

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

private:
    std::string At(size_t position) const { return CharacterNumberAt(pattern_, codePage_, position); }

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
                Fail(FillText(PatternRepeatTooLarge, {At(start), std::to_string(MaxRepeatCount)}));
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
                return Fail(FillText(PatternTooDeep, {At(start), std::to_string(MaxGroupDepth)}));
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
            int high = position_ < pattern_.size() ? HexDigitValue(pattern_[position_]) : -1;
            int low = position_ + 1 < pattern_.size() ? HexDigitValue(pattern_[position_ + 1]) : -1;
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
                                : std::string("x") + UpperHexDigits[static_cast<unsigned char>(c) >> 4] +
                                      UpperHexDigits[static_cast<unsigned char>(c) & 15];
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

} // namespace

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

bool ParsePattern(std::string_view pattern, PatternSyntax syntax, bool caseSensitive, const MatchCodePage& codePage,
                  ParsedPattern* parsed, std::string* error)
{
    Parser parser(pattern, caseSensitive, codePage, &parsed->nodes, &parsed->sets);
    parsed->root = syntax == PatternSyntax::PlainText ? parser.PlainText() : parser.Expression(error);
    return parsed->root >= 0;
}

std::string CharacterNumberAt(std::string_view pattern, const MatchCodePage& codePage, size_t offset)
{
    size_t count = 1;
    for (size_t i = 0; i < offset && i < pattern.size(); ++i) {
        if (codePage.lead[static_cast<unsigned char>(pattern[i])] && i + 1 < pattern.size()) {
            ++i;
        }
        ++count;
    }
    return std::to_string(count);
}

std::string LastCharacterNumber(std::string_view pattern, const MatchCodePage& codePage)
{
    size_t last = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        last = i;
        if (codePage.lead[static_cast<unsigned char>(pattern[i])] && i + 1 < pattern.size()) {
            ++i;
        }
    }
    return CharacterNumberAt(pattern, codePage, last);
}

} // namespace PatternEngine
