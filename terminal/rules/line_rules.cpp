#include "line_rules.h"

#include "line_text.h"
#include "rule_file.h"
#include "terminal_texts.h"

// Every rule a file or the dialog can hold has its number in a line's mark.
static_assert(MaxRuleCount <= HighlightNumberBits, "highlight rules beyond the mark's numbers");

namespace {

// A rule's pattern as a message shows it: at most this many bytes, then "...".
constexpr size_t ShownPatternLength = 60;

} // namespace

std::string ShownRulePattern(const std::string& pattern)
{
    if (pattern.size() <= ShownPatternLength) {
        return pattern;
    }
    size_t cut = ShownPatternLength;
    while (cut > 0 && (static_cast<unsigned char>(pattern[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a UTF-8 character
    }
    return pattern.substr(0, cut) + "...";
}

const char* RuleKindWord(RuleKind kind)
{
    switch (kind) {
    case RuleKind::Include: return "include";
    case RuleKind::Exclude: return "exclude";
    case RuleKind::Highlight: return "highlight";
    case RuleKind::StopFollowing: return "stop";
    }
    return "include";
}

namespace {


// Whether the text column shows line's bytes as they are: no escapes, no placeholder.
bool ShownAsIs(const StoredLine& line, size_t length)
{
    if (line.lineClass == LineClass::ClearMarker || line.carriage != LineCarriage::Carried) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(line.text[i]);
        if (c < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

} // namespace

bool Rule::operator==(const Rule& other) const
{
    return kind == other.kind && syntax == other.syntax && caseSensitive == other.caseSensitive &&
           enabled == other.enabled && onlyClass == other.onlyClass &&
           (kind != RuleKind::Highlight ||
            (colour == other.colour && textColour == other.textColour && matchedOnly == other.matchedOnly)) &&
           pattern == other.pattern && process == other.process;
}

std::string_view MatchedText(const StoredLine& line, std::string* scratch)
{
    size_t length = line.text.size();
    if (length > 0 && line.text[length - 1] == '\n') {
        --length;
    }
    if (ShownAsIs(line, length)) {
        return std::string_view(line.text.data(), length);
    }
    if (line.lineClass == LineClass::ClearMarker || line.carriage != LineCarriage::Carried) {
        *scratch = DisplayText(line);
        return *scratch;
    }
    // The escapes DisplayText writes, made here without its formatting calls: hostile lines full
    // of control characters are the ones where this cost shows.
    static const char Hex[] = "0123456789ABCDEF";
    scratch->resize(length * 4);
    char* out = &(*scratch)[0];
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(line.text[i]);
        if (c >= 0x20 && c != 0x7F) {
            *out++ = static_cast<char>(c);
            continue;
        }
        *out++ = '\\';
        switch (c) {
        case '\n': *out++ = 'n'; break;
        case '\r': *out++ = 'r'; break;
        case '\t': *out++ = 't'; break;
        default:
            *out++ = 'x';
            *out++ = Hex[c >> 4];
            *out++ = Hex[c & 15];
            break;
        }
    }
    scratch->resize(static_cast<size_t>(out - scratch->data()));
    return *scratch;
}

struct RuleSet::Compiled {
    TextPattern pattern;
    RuleKind kind = RuleKind::Include;
    bool anyClass = true;
    LineClass lineClass = LineClass::Debug;
    bool anyProcess = true;
    TextPattern process;  // the whole name, as a regular expression
    uint32_t colour = 0;
    uint32_t textColour = 0;
    bool textColourGiven = false;
    bool matchedOnly = false;

    bool Matches(const StoredLine& line, std::string_view text) const
    {
        return (anyClass || lineClass == line.lineClass) &&
               (anyProcess || (line.lineClass == LineClass::Ods && process.Matches(line.processName))) &&
               pattern.Matches(text);
    }
};

namespace {

// A wildcard over a whole name as the pattern engine's regular expression: * any run, ? any one
// character, everything else literal.
std::string WildcardExpression(std::string_view wildcard)
{
    std::string out = "^";
    for (char c : wildcard) {
        if (c == '*') {
            out += ".*";
        } else if (c == '?') {
            out += '.';
        } else {
            out += LiteralExpression(std::string_view(&c, 1));
        }
    }
    return out + "$";
}

} // namespace

std::string LiteralExpression(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (std::string_view("\\.^$|()[]{}+*?").find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c;
    }
    return out;
}

RuleSet::RuleSet() = default;
RuleSet::~RuleSet() = default;
RuleSet::RuleSet(RuleSet&&) noexcept = default;
RuleSet& RuleSet::operator=(RuleSet&&) noexcept = default;

bool RuleSet::Compile(const std::vector<Rule>& rules, const LineEncoding& encoding, std::string* error)
{
    std::vector<Compiled> filters;
    std::vector<Compiled> highlights;
    std::vector<Compiled> stops;
    bool hasInclude = false;
    for (size_t i = 0; i < rules.size(); ++i) {
        const Rule& rule = rules[i];
        if (!rule.enabled) {
            continue;
        }
        std::string bytes;
        std::string why;
        Compiled compiled;
        if (!encoding.fromUtf8 || !encoding.fromUtf8(rule.pattern, &bytes)) {
            why = encoding.codePageNumber != 0
                      ? FillText(RuleNotInCodePage, {std::to_string(encoding.codePageNumber)})
                      : std::string(RuleNotConvertible);
        } else {
            compiled.pattern.Compile(bytes, rule.syntax, rule.caseSensitive, encoding.codePage, &why);
        }
        if (compiled.pattern.IsCompiled() && !rule.process.empty()) {
            compiled.anyProcess = false;
            if (!encoding.fromUtf8(WildcardExpression(rule.process), &bytes)) {
                compiled.pattern = TextPattern();
                why = FillText(RuleProcessNotInCodePage, {rule.process});
            } else if (!compiled.process.Compile(bytes, PatternSyntax::RegularExpression, false, encoding.codePage, &why)) {
                compiled.pattern = TextPattern();
            }
        }
        if (!compiled.pattern.IsCompiled()) {
            *error = FillText(RuleCompileError,
                              {std::to_string(i + 1), RuleKindWord(rule.kind), ShownRulePattern(rule.pattern), why});
            return false;
        }
        compiled.kind = rule.kind;
        compiled.anyClass = !rule.onlyClass.has_value();
        compiled.lineClass = rule.onlyClass.value_or(LineClass::Debug);
        compiled.colour = rule.colour;
        compiled.textColour = rule.textColour.value_or(ContrastingTextColour(rule.colour));
        compiled.textColourGiven = rule.textColour.has_value();
        compiled.matchedOnly = rule.matchedOnly;
        switch (rule.kind) {
        case RuleKind::Include:
            hasInclude = true;
            filters.push_back(std::move(compiled));
            break;
        case RuleKind::Exclude: filters.push_back(std::move(compiled)); break;
        case RuleKind::Highlight: highlights.push_back(std::move(compiled)); break;
        case RuleKind::StopFollowing: stops.push_back(std::move(compiled)); break;
        }
    }
    rules_ = rules;
    filters_ = std::move(filters);
    highlights_ = std::move(highlights);
    stops_ = std::move(stops);
    hasInclude_ = hasInclude;
    return true;
}

bool RuleSet::Shows(const StoredLine& line) const
{
    if (filters_.empty()) {
        return true;
    }
    std::string_view text = MatchedText(line, &scratch_);
    for (const Compiled& rule : filters_) {
        if (rule.Matches(line, text)) {
            return rule.kind == RuleKind::Include;
        }
    }
    return !hasInclude_;
}

LineMark RuleSet::Mark(const StoredLine& line) const
{
    if (filters_.empty() && highlights_.empty() && stops_.empty()) {
        return 0;
    }
    std::string_view text = MatchedText(line, &scratch_);
    bool shown = !hasInclude_;
    for (const Compiled& rule : filters_) {
        if (rule.Matches(line, text)) {
            shown = rule.kind == RuleKind::Include;
            break;
        }
    }
    LineMark mark = shown ? 0 : HiddenByRules;
    for (size_t i = 0; i < highlights_.size() && i < HighlightNumberBits; ++i) {
        if (highlights_[i].Matches(line, text)) {
            mark |= static_cast<LineMark>(i + 1);
            break;
        }
    }
    for (const Compiled& rule : stops_) {
        if (rule.Matches(line, text)) {
            mark |= StopMark;
            break;
        }
    }
    return mark;
}

LineVerdict RuleSet::VerdictOf(LineMark mark) const
{
    LineVerdict verdict;
    verdict.shown = (mark & HiddenByRules) == 0;
    verdict.stopsFollowing = (mark & StopMark) != 0;
    size_t highlight = mark & HighlightNumberBits;
    if (highlight != 0 && highlight <= highlights_.size()) {
        verdict.highlighted = true;
        verdict.colour = highlights_[highlight - 1].colour;
        verdict.textColour = highlights_[highlight - 1].textColour;
        verdict.textColourGiven = highlights_[highlight - 1].textColourGiven;
        verdict.matchedOnly = highlights_[highlight - 1].matchedOnly;
    }
    return verdict;
}

std::vector<MatchSpan> RuleSet::HighlightSpans(LineMark mark, std::string_view shownText) const
{
    size_t highlight = mark & HighlightNumberBits;
    if (highlight == 0 || highlight > highlights_.size()) {
        return {};
    }
    return highlights_[highlight - 1].pattern.FindAll(shownText);
}

uint32_t ContrastingTextColour(uint32_t background)
{
    // Relative luminance by the usual integer weights (ITU-R BT.601).
    uint32_t red = (background >> 16) & 0xFF;
    uint32_t green = (background >> 8) & 0xFF;
    uint32_t blue = background & 0xFF;
    uint32_t luminance = (299 * red + 587 * green + 114 * blue) / 1000;
    return luminance >= 128 ? 0x000000u : 0xFFFFFFu;
}
