#include "text_pattern.h"

#include "pattern_dfa.h"
#include "pattern_nfa.h"
#include "pattern_parser.h"
#include "terminal_texts.h"

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

TextPattern::TextPattern() = default;
TextPattern::~TextPattern() = default;
TextPattern::TextPattern(TextPattern&&) noexcept = default;
TextPattern& TextPattern::operator=(TextPattern&&) noexcept = default;

bool TextPattern::Compile(std::string_view pattern, PatternSyntax syntax, bool caseSensitive,
                          const MatchCodePage& codePage, std::string* error)
{
    PatternEngine::ParsedPattern parsed;
    if (!PatternEngine::ParsePattern(pattern, syntax, caseSensitive, codePage, &parsed, error)) {
        return false;
    }
    PatternEngine::Nfa nfa;
    size_t tooLargeAt = 0;
    if (!PatternEngine::BuildNfa(parsed, codePage, &nfa, &tooLargeAt)) {
        std::string at = tooLargeAt != std::string_view::npos
                             ? PatternEngine::CharacterNumberAt(pattern, codePage, tooLargeAt)
                             : PatternEngine::LastCharacterNumber(pattern, codePage);
        *error = FillText(PatternTooLarge, {at, std::to_string(MaxPatternSteps)});
        return false;
    }
    automaton_ = std::make_unique<Automaton>(std::move(nfa), codePage);
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
