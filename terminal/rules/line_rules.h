// The user's rules over lines: which are shown (include, exclude), which stand out (highlight)
// and which stop the list from following new lines.
//
// A rule matches a line when its class (if it names one) is the line's, its process (if it names
// one) matches the name of the program that wrote an ods line, and its pattern occurs in the
// line's text as the list shows it (MatchedText). Among include and exclude rules the first
// that matches decides; a line none of them matches is shown when there is no include rule, and
// hidden when there is one (an include rule says "only these"). The first matching highlight rule
// gives the line its colour. Disabled rules count for nothing.
#pragma once

#include <stdint.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "received_line.h"
#include "line_encoding.h"
#include "line_store.h"
#include "text_pattern.h"

enum class RuleKind : uint8_t {
    Include,
    Exclude,
    Highlight,
    StopFollowing,
};

// The word a kind is written with, in rule files and messages: include, exclude, highlight, stop.
const char* RuleKindWord(RuleKind kind);

// A rule's pattern as messages show it: a long one cut, never inside a character, and "..." added.
std::string ShownRulePattern(const std::string& pattern);

struct Rule {
    RuleKind kind = RuleKind::Include;
    PatternSyntax syntax = PatternSyntax::PlainText;
    bool caseSensitive = false;
    bool enabled = true;
    std::optional<LineClass> onlyClass;  // none: every class
    uint32_t colour = 0;                 // highlight: background as 0xRRGGBB
    // highlight: the text's colour, 0xRRGGBB; none: black or white, whichever reads better.
    std::optional<uint32_t> textColour;
    bool matchedOnly = false;  // highlight: only the text the pattern matched, not the whole row
    std::string pattern;                 // UTF-8
    // The writer's image name, with * and ? as wildcards, whatever the case (UTF-8); empty: any
    // line. Only ods lines have a writer, so only they match a rule that names one.
    std::string process;

    bool operator==(const Rule& other) const;
    bool operator!=(const Rule& other) const { return !(*this == other); }
};

// What rules and searches look at: the text column's content (DisplayText), without copying
// when the line needs no escapes. The view points into line or into *scratch.
std::string_view MatchedText(const StoredLine& line, std::string* scratch);

struct LineVerdict {
    bool shown = true;
    bool highlighted = false;
    uint32_t colour = 0;      // 0xRRGGBB when highlighted
    uint32_t textColour = 0;  // the same
    bool textColourGiven = false;  // else textColour is black or white, whichever reads on colour
    bool matchedOnly = false;
    bool stopsFollowing = false;
};

// A verdict as the line store keeps it beside the line (LineMark): HiddenByRules when the rules
// hide the line, StopMark when it stops following, and in the low bits the number of the
// highlight rule that colours it, counted from 1 (0: none). BookmarkMark is the store's.
constexpr LineMark StopMark = 0x4000;
constexpr LineMark HighlightNumberBits = 0x1FFF;
static_assert((HighlightNumberBits & BookmarkMark) == 0, "a highlight's number leaves the bookmark alone");

// Not for two threads at once (the patterns' automata grow as they meet input): the window's
// thread owns its rules.
class RuleSet {
public:
    RuleSet();
    ~RuleSet();
    RuleSet(RuleSet&&) noexcept;
    RuleSet& operator=(RuleSet&&) noexcept;

    // Compiles rules for lines in encoding. On a bad rule returns false with *error naming it
    // ("rule 2, exclude \"a(b\": missing ) for the ( at character 2") and leaves the set as it
    // was; the window keeps its old rules and the user sees why.
    bool Compile(const std::vector<Rule>& rules, const LineEncoding& encoding, std::string* error);

    const std::vector<Rule>& Rules() const { return rules_; }

    // Everything the rules say about line, packed: each line is judged once, when it is stored.
    LineMark Mark(const StoredLine& line) const;
    // What a mark this rule set gave says.
    LineVerdict VerdictOf(LineMark mark) const;
    // Where the highlight rule that gave mark matches in shownText (MatchedText), for a rule that
    // marks only what it matched; none for other marks.
    std::vector<MatchSpan> HighlightSpans(LineMark mark, std::string_view shownText) const;
    // Everything the rules say about line: VerdictOf(Mark(line)).
    LineVerdict Evaluate(const StoredLine& line) const { return VerdictOf(Mark(line)); }
    // Only whether line is shown: what applying a new filter to kept lines needs.
    bool Shows(const StoredLine& line) const;

private:
    struct Compiled;
    std::vector<Rule> rules_;
    std::vector<Compiled> filters_;
    std::vector<Compiled> highlights_;
    std::vector<Compiled> stops_;
    bool hasInclude_ = false;
    mutable std::string scratch_;  // the shown text of a line that needs escapes
};

// text as a regular expression that matches it literally (the syntax's punctuation escaped).
std::string LiteralExpression(std::string_view text);

// Black or white, whichever reads better on background (both 0xRRGGBB).
uint32_t ContrastingTextColour(uint32_t background);
