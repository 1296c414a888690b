// The terminal's patterns (terminal/text_pattern.*): any bytes compiled as plain text, with and
// without regard to case, and as a regular expression, in a code page of one byte a character,
// one that folds letters above ASCII, and one of two-byte characters. A refusal names a
// character inside the pattern. A compiled pattern is matched against the lines that follow it:
// Matches, Find and FindAll agree with each other, spans lie on whole characters, plain text is
// found where a naive search finds it, and matching costs at most (length + 1) times the limit
// the pattern states per byte, counted in the engine's own steps, not in time.
//
// Input: a byte of choices (bit 0 regular expression, bit 1 case sensitive, bits 2-3 the code
// page), then the pattern and up to eight lines, each text in the fuzzers' input language
// (fuzz_input.h), so that long ones come from short inputs.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "pattern_code_pages.h"
#include "text_pattern.h"

namespace {

const size_t LongestPattern = 65536;  // a rule file's longest line
const size_t LongestLine = 4096;
const size_t MostLines = 8;
// What an input may cost, in the engine's steps, so that a fixed number of inputs takes a
// bounded time: a line longer than its pattern's limit allows is cut. Find and FindAll look for
// the longest match at each start, which costs up to the square of the length: they are tried
// where that stays within a budget of its own.
const uint64_t MatchBudget = 4000000;
const uint64_t FindBudget = 20000000;

MatchCodePage FoldingCodePage()
{
    MatchCodePage codePage = AsciiCodePage();
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) {
            codePage.lower[static_cast<size_t>(c)] = static_cast<unsigned char>(c + 0x20);
        }
    }
    return codePage;
}

MatchCodePage CodePageNumbered(int which)
{
    switch (which) {
    case 1: return FoldingCodePage();
    case 2: return DoubleByteCodePage();
    default: return AsciiCodePage();
    }
}

// Where the characters of text start, and its end.
std::vector<size_t> Boundaries(std::string_view text, const MatchCodePage& codePage)
{
    std::vector<size_t> out;
    size_t i = 0;
    while (i < text.size()) {
        out.push_back(i);
        i += codePage.lead[static_cast<unsigned char>(text[i])] && i + 1 < text.size() ? 2 : 1;
    }
    out.push_back(text.size());
    return out;
}

bool IsBoundary(const std::vector<size_t>& boundaries, size_t position)
{
    for (size_t b : boundaries) {
        if (b == position) {
            return true;
        }
    }
    return false;
}

// Plain text found the naive way: a two-byte character of the pattern matches itself, a single
// byte any single byte of its case family, a lone lead byte at the end itself.
bool PlainAt(std::string_view text, size_t at, std::string_view pattern, bool caseSensitive,
             const MatchCodePage& codePage)
{
    size_t q = at;
    for (size_t i = 0; i < pattern.size(); ++i) {
        unsigned char p = static_cast<unsigned char>(pattern[i]);
        if (q >= text.size()) {
            return false;
        }
        unsigned char t = static_cast<unsigned char>(text[q]);
        if (codePage.lead[p] && i + 1 < pattern.size()) {
            if (q + 1 >= text.size() || t != p || text[q + 1] != pattern[i + 1]) {
                return false;
            }
            ++i;
            q += 2;
            continue;
        }
        if (codePage.lead[p]) {
            if (t != p) {
                return false;
            }
        } else if (codePage.lead[t] || (caseSensitive ? t != p : codePage.lower[t] != codePage.lower[p])) {
            return false;
        }
        ++q;
    }
    return true;
}

std::vector<MatchSpan> NaiveFindAll(std::string_view text, std::string_view pattern, bool caseSensitive,
                                    const MatchCodePage& codePage)
{
    std::vector<MatchSpan> spans;
    size_t from = 0;
    for (size_t at : Boundaries(text, codePage)) {
        if (at >= from && PlainAt(text, at, pattern, caseSensitive, codePage)) {
            spans.push_back({at, at + pattern.size()});
            from = at + pattern.size();
            if (pattern.empty()) {
                break;  // FindAll leaves empty matches out
            }
        }
    }
    if (pattern.empty()) {
        spans.clear();
    }
    return spans;
}

// A refusal names a character of the pattern: "... character N ...", N from 1 to the count.
void CheckRefusal(const std::string& error, std::string_view pattern, const MatchCodePage& codePage)
{
    FUZZ_CHECK(!error.empty(), "a refusal says why");
    size_t at = error.find("character ");
    while (at != std::string::npos && (at + 10 >= error.size() || error[at + 10] < '0' || error[at + 10] > '9')) {
        at = error.find("character ", at + 1);
    }
    FUZZ_CHECK(at != std::string::npos, error.c_str());
    size_t number = 0;
    size_t digits = 0;
    for (size_t i = at + 10; i < error.size() && error[i] >= '0' && error[i] <= '9' && digits < 9; ++i, ++digits) {
        number = number * 10 + static_cast<size_t>(error[i] - '0');
    }
    size_t characters = Boundaries(pattern, codePage).size() - 1;
    FUZZ_CHECK(digits > 0 && number >= 1 && number <= characters, error.c_str());
}

struct Cost {
    double stepsPerByte = 0;
    size_t limit = 0;
};
Cost WorstCost;

void ReportWorst()
{
    fprintf(stderr, "fuzz_text_pattern: most steps per byte taken by a match: %.1f, of a pattern whose limit is %zu\n",
            WorstCost.stepsPerByte, WorstCost.limit);
}

void CheckMatches(const TextPattern& pattern, std::string_view line)
{
    uint64_t before = pattern.StepsTaken();
    pattern.Matches(line);
    uint64_t steps = pattern.StepsTaken() - before;
    uint64_t bound = static_cast<uint64_t>(line.size() + 1) * pattern.StepsPerByteLimit();
    FUZZ_CHECK(steps <= bound, "matching costs at most (length + 1) * StepsPerByteLimit() steps");
    double perByte = static_cast<double>(steps) / static_cast<double>(line.size() + 1);
    if (perByte > WorstCost.stepsPerByte) {
        WorstCost = {perByte, pattern.StepsPerByteLimit()};
    }
}

void CheckFinds(const TextPattern& pattern, std::string_view line, const MatchCodePage& codePage,
                std::string_view plain, bool isPlain, bool caseSensitive)
{
    bool matches = pattern.Matches(line);
    std::vector<size_t> boundaries = Boundaries(line, codePage);
    MatchSpan span;
    FUZZ_CHECK(pattern.Find(line, 0, &span) == matches, "Find finds what Matches does");
    if (matches) {
        FUZZ_CHECK(span.begin <= span.end && span.end <= line.size(), "a span lies in the line");
        FUZZ_CHECK(IsBoundary(boundaries, span.begin), "a match starts on a whole character");
    }
    std::vector<MatchSpan> spans = pattern.FindAll(line);
    size_t previousEnd = 0;
    for (const MatchSpan& found : spans) {
        FUZZ_CHECK(found.begin >= previousEnd && found.begin < found.end && found.end <= line.size(),
                   "FindAll's spans are non-empty, in order and apart");
        FUZZ_CHECK(IsBoundary(boundaries, found.begin), "a marked match starts on a whole character");
        MatchSpan again;
        FUZZ_CHECK(pattern.Find(line, found.begin, &again) && again.begin == found.begin && again.end == found.end,
                   "each marked span is the match Find gives from its start");
        previousEnd = found.end;
    }
    if (!spans.empty()) {
        FUZZ_CHECK(matches, "FindAll finds only where Matches does");
    }
    if (!isPlain) {
        return;
    }
    std::vector<MatchSpan> expected = NaiveFindAll(line, plain, caseSensitive, codePage);
    FUZZ_CHECK(matches == (plain.empty() || !expected.empty()), "plain text matches where it occurs");
    if (matches && !plain.empty()) {
        FUZZ_CHECK(span.begin == expected[0].begin && span.end == expected[0].end, "plain text is found leftmost");
    }
    FUZZ_CHECK(spans.size() == expected.size(), "FindAll marks every occurrence of plain text");
    for (size_t i = 0; i < spans.size(); ++i) {
        FUZZ_CHECK(spans[i].begin == expected[i].begin && spans[i].end == expected[i].end,
                   "FindAll marks plain text where it occurs");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool reporting = atexit(ReportWorst) == 0;
    (void)reporting;
    FuzzInput input(data, size);
    uint8_t choices = input.Byte();
    PatternSyntax syntax = (choices & 1) != 0 ? PatternSyntax::RegularExpression : PatternSyntax::PlainText;
    bool caseSensitive = (choices & 2) != 0;
    MatchCodePage codePage = CodePageNumbered((choices >> 2) & 3);
    std::string patternText = input.Text<char>(LongestPattern);
    std::vector<std::string> lines;
    while (!input.Exhausted() && lines.size() < MostLines) {
        lines.push_back(input.Text<char>(LongestLine));
    }

    TextPattern pattern;
    std::string error;
    if (!pattern.Compile(patternText, syntax, caseSensitive, codePage, &error)) {
        FUZZ_CHECK(!pattern.IsCompiled(), "a refused pattern is not compiled");
        CheckRefusal(error, patternText, codePage);
        return 0;
    }
    FUZZ_CHECK(pattern.StepsTaken() == 0, "compiling is not matching");
    uint64_t limit = pattern.StepsPerByteLimit();
    for (std::string& line : lines) {
        uint64_t longest = MatchBudget / limit;
        if (line.size() + 1 > longest) {
            line.resize(longest > 0 ? static_cast<size_t>(longest - 1) : 0);
        }
        CheckMatches(pattern, line);
        uint64_t length = line.size() + 1;
        if (length * length * limit <= FindBudget) {
            CheckFinds(pattern, line, codePage, patternText, syntax == PatternSyntax::PlainText, caseSensitive);
        }
    }
    return 0;
}
