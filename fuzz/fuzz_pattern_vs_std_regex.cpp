// The terminal's regular expressions against the C++ library's ECMAScript engine: a pattern both
// accept, where both give it the same meaning, matches the same generated lines, and the match
// starts at the same place (ECMAScript takes the first alternative that matches there, the
// terminal the longest match: so the terminal's is never the shorter).
//
// Where the two read the same text differently the pattern is left out of the comparison:
//   [] and [^] (ECMAScript: a class of nothing or of everything; the terminal: ] is a member);
//   [: [. [= (the library reads POSIX classes, collating elements and equivalence classes inside
//   a class, as [[:digit:]], even in ECMAScript; the terminal: [ is a member);
// and lines hold no line ends, which ECMAScript's . does not match (the lines rules see have
// none: control characters are shown, and matched, as escapes). Patterns with a run of more than
// four digits are left out too: the library's parser overflows on such counts.
// The library's engine backtracks, so patterns stay short, their automata small and lines short.
//
// Input: a byte of choices (bit 0 case sensitive), the pattern's length (a byte, at most 40) and
// its bytes, then bytes that seed the lines: 16 lines of up to 12 characters drawn from the
// pattern's own characters and a few others.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <regex>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "text_pattern.h"

namespace {

const size_t LongestPattern = 40;
const size_t LargestLimit = 400;  // steps per byte: an automaton of about 200 states
const int LineCount = 16;
const int LongestLine = 12;

bool ReadDifferently(const std::string& pattern)
{
    for (const char* differently : {"[]", "[^]", "[:", "[.", "[="}) {
        if (pattern.find(differently) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The library's own parser overflows on counts of many digits (undefined behaviour in
// libstdc++'s regex compiler), whatever the terminal makes of them.
bool HasLongCount(const std::string& pattern)
{
    size_t digits = 0;
    for (char c : pattern) {
        digits = c >= '0' && c <= '9' ? digits + 1 : 0;
        if (digits > 4) {
            return true;
        }
    }
    return false;
}

// How many inputs were compared, and how many lines of them matched: the run prints them, so
// that a comparison that leaves everything out shows.
size_t InputCount = 0;
size_t ComparedCount = 0;
size_t MatchedLineCount = 0;

void ReportCompared()
{
    fprintf(stderr, "fuzz_pattern_vs_std_regex: %zu of %zu inputs compared, %zu of their lines matched\n",
            ComparedCount, InputCount, MatchedLineCount);
}

class Lines {
public:
    Lines(const std::string& pattern, uint64_t seed) : seed_(seed | 1)
    {
        alphabet_ = "aA0_ -";
        for (char c : pattern) {
            if (c != '\n' && c != '\r') {
                alphabet_ += c;
            }
        }
    }

    std::string Next()
    {
        std::string line;
        int length = static_cast<int>(Draw(LongestLine + 1));
        for (int i = 0; i < length; ++i) {
            line += alphabet_[Draw(alphabet_.size())];
        }
        return line;
    }

private:
    size_t Draw(size_t bound)
    {
        seed_ ^= seed_ << 13;
        seed_ ^= seed_ >> 7;
        seed_ ^= seed_ << 17;
        return static_cast<size_t>(seed_ % bound);
    }

    std::string alphabet_;
    uint64_t seed_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool reporting = atexit(ReportCompared) == 0;
    (void)reporting;
    ++InputCount;
    FuzzInput input(data, size);
    bool caseSensitive = (input.Byte() & 1) != 0;
    size_t length = input.Byte() % (LongestPattern + 1);
    std::string patternText;
    while (patternText.size() < length && !input.Exhausted()) {
        patternText += static_cast<char>(input.Byte());
    }
    uint64_t seed = 0;
    while (!input.Exhausted()) {
        seed = seed * 131 + input.Byte() + 1;
    }
    if (ReadDifferently(patternText) || HasLongCount(patternText)) {
        return 0;
    }

    TextPattern pattern;
    std::string error;
    if (!pattern.Compile(patternText, PatternSyntax::RegularExpression, caseSensitive, AsciiCodePage(), &error) ||
        pattern.StepsPerByteLimit() > LargestLimit) {
        return 0;
    }
    std::regex judge;
    try {
        judge.assign(patternText, caseSensitive ? std::regex::ECMAScript : std::regex::ECMAScript | std::regex::icase);
    } catch (const std::regex_error&) {
        return 0;
    }

    ++ComparedCount;
    Lines lines(patternText, seed);
    for (int i = 0; i < LineCount; ++i) {
        std::string line = lines.Next();
        std::smatch first;
        bool expected = std::regex_search(line, first, judge);
        FUZZ_CHECK(pattern.Matches(line) == expected, ("/" + patternText + "/ on \"" + line + "\"").c_str());
        MatchSpan span;
        FUZZ_CHECK(pattern.Find(line, 0, &span) == expected, ("/" + patternText + "/ on \"" + line + "\"").c_str());
        if (expected) {
            ++MatchedLineCount;
            FUZZ_CHECK(span.begin == static_cast<size_t>(first.position(0)),
                       ("/" + patternText + "/ starts elsewhere on \"" + line + "\"").c_str());
            FUZZ_CHECK(span.end - span.begin >= static_cast<size_t>(first.length(0)),
                       ("/" + patternText + "/ ends short on \"" + line + "\"").c_str());
        }
    }
    return 0;
}
