// Plain texts and regular expressions as the rules and the find bar match them.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "pattern_code_pages.h"
#include "text_pattern.h"

namespace {

TextPattern Compiled(const std::string& pattern, PatternSyntax syntax, bool caseSensitive = false,
                     const MatchCodePage& codePage = AsciiCodePage())
{
    TextPattern compiled;
    std::string error;
    EXPECT_TRUE(compiled.Compile(pattern, syntax, caseSensitive, codePage, &error)) << pattern << ": " << error;
    return compiled;
}

std::string RefusalOf(const std::string& pattern)
{
    TextPattern compiled;
    std::string error;
    EXPECT_FALSE(compiled.Compile(pattern, PatternSyntax::RegularExpression, true, AsciiCodePage(), &error)) << pattern;
    EXPECT_FALSE(compiled.IsCompiled());
    return error;
}

struct MatchCase {
    const char* pattern;
    const char* text;
    bool matches;
};

void ExpectMatches(PatternSyntax syntax, bool caseSensitive, const std::vector<MatchCase>& cases)
{
    for (const MatchCase& c : cases) {
        EXPECT_EQ(c.matches, Compiled(c.pattern, syntax, caseSensitive).Matches(c.text))
            << "pattern \"" << c.pattern << "\" text \"" << c.text << "\"";
    }
}

TEST(TextPattern, PlainTextIsFoundAnywhereWithoutRegardToCaseAndItsPunctuationMeansNothing)
{
    ExpectMatches(PatternSyntax::PlainText, false,
                  {
                      {"disk", "Scanner : DISK full", true},
                      {"disk full", "disk  full", false},
                      {"a.c", "abc", false},
                      {"a.c", "x a.c y", true},
                      {"(x+x+)+y", "(x+x+)+y", true},
                      {"\\d", "\\d", true},
                      {"", "anything", true},
                      {"", "", true},
                      {"long", "lon", false},
                  });
}

TEST(TextPattern, CaseSensitivePlainTextTellsCasesApart)
{
    ExpectMatches(PatternSyntax::PlainText, true, {{"Error", "Error here", true}, {"Error", "error here", false}});
}

TEST(TextPattern, RegularExpressionsOfTheDocumentedSubsetMatch)
{
    ExpectMatches(PatternSyntax::RegularExpression, true,
                  {
                      {"^Poller : idle \\d+$", "Poller : idle 42", true},
                      {"^Poller : idle \\d+$", "Poller : idle 42 ms", false},
                      {"^idle", "Poller : idle", false},
                      {"len=(0|1)\\b", "len=1 ok", true},
                      {"len=(0|1)\\b", "len=12 ok", false},
                      {"\\Bcat", "concat", true},
                      {"\\Bcat", "cat", false},
                      {"0x[0-9a-f]{8}", "at 0x0040ffee", true},
                      {"0x[0-9a-f]{8}", "at 0x0040ffe", false},
                      {"a{2,3}b", "aab", true},
                      {"^a{2,3}b", "aaaab", false},
                      {"a{2,}", "a", false},
                      {"colou?r", "color", true},
                      {"(?:ab)+c", "ababc", true},
                      {"[^a-z ]", "only lower case", false},
                      {"[^a-z ]", "one Upper", true},
                      {"[]x]", "]", true},
                      {"[a-]", "-", true},
                      {"\\w+@\\w+\\.com", "mail bob@example.com", true},
                      {"\\s\\S", "a b", true},
                      {"\\x41\\t", "A\t", true},
                      {"a.c", "a\xE9" "c", true},
                      {"a{,2}", "a{,2}", true},
                      {"x*?y", "xxy", true},
                      {"()", "", true},
                      {"a|", "b", true},
                  });
}

TEST(TextPattern, RegularExpressionsWithoutRegardToCaseFoldLettersInClassesToo)
{
    ExpectMatches(PatternSyntax::RegularExpression, false,
                  {{"ERROR \\d", "error 5", true}, {"[A-C]x", "bX", true}, {"[^a]", "A", false}});
}

TEST(TextPattern, BadRegularExpressionsAreRefusedWithWhatAndWhere)
{
    struct Case {
        const char* pattern;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"a(b", "missing ) for the ( at character 2"},
        {"ab)", "unmatched ) at character 3"},
        {"*a", "nothing to repeat before the * at character 1"},
        {"a|+", "nothing to repeat before the + at character 3"},
        {"^*", "nothing to repeat before the * at character 2"},
        {"{3}", "nothing to repeat before the {3} at character 1"},
        {"a**", "a repeat cannot follow a repeat (* at character 3)"},
        {"a{2}{3}", "a repeat cannot follow a repeat ({3} at character 5)"},
        {"[abc", "the [ at character 1 has no closing ]"},
        {"x[z-a]", "the range z-a at character 3 runs backwards"},
        {"a{1001}", "a repeat count above 1000 at character 2"},
        {"a{5,2}", "the repeat {5,2} at character 2 has its larger count first"},
        {"abc\\", "a \\ at the end (character 4) escapes nothing"},
        {"\\x4", "\\x at character 1 needs two hexadecimal digits"},
        {"(a)\\1", "backreferences such as \\1 (character 4) are not supported"},
        {"\\q", "the escape \\q at character 1 is not supported"},
        {"(?=a)", "groups of the form (?= (character 1) are not supported: lookaround, named groups and flags"},
        {"(?i)a", "groups of the form (?i (character 1) are not supported: lookaround, named groups and flags"},
        {"(a{1000}){1000}", "the expression is too large at character 10: it would take more than 20000 steps"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.error, RefusalOf(c.pattern)) << c.pattern;
    }
}

TEST(TextPattern, GroupsNestedPastTheLimitAreRefusedWithoutExhaustingTheStack)
{
    std::string deep(100, '(');
    deep += "a" + std::string(100, ')');
    EXPECT_TRUE(Compiled(deep, PatternSyntax::RegularExpression).Matches("a"));
    std::string deeper(5000, '(');
    EXPECT_EQ("groups nest deeper than 100 (character 101)", RefusalOf(deeper));
}

TEST(TextPattern, ARefusedPatternLeavesTheOneCompiledBefore)
{
    TextPattern pattern = Compiled("disk", PatternSyntax::RegularExpression);
    std::string error;
    EXPECT_FALSE(pattern.Compile("(", PatternSyntax::RegularExpression, true, AsciiCodePage(), &error));
    EXPECT_TRUE(pattern.Matches("disk full"));
}

TEST(TextPattern, BacktrackingPatternsCostNoMoreThanOthers)
{
    // A backtracking engine tries 2^n ways here; the automaton reads each byte once.
    TextPattern pattern = Compiled("(x+x+)+y", PatternSyntax::RegularExpression);
    std::string run(100000, 'x');
    EXPECT_FALSE(pattern.Matches(run));
    EXPECT_TRUE(pattern.Matches(run + "y"));
}

TEST(TextPattern, HostileLinesAreMatchedByteForByte)
{
    std::string everyByte;
    for (int c = 1; c < 256; ++c) {
        everyByte += static_cast<char>(c);
    }
    EXPECT_TRUE(Compiled("\\x01\\x02", PatternSyntax::RegularExpression).Matches(everyByte));
    EXPECT_TRUE(Compiled("\xFE\xFF", PatternSyntax::PlainText).Matches(everyByte));
    EXPECT_TRUE(Compiled(".{255}", PatternSyntax::RegularExpression).Matches(everyByte));
    EXPECT_FALSE(Compiled(".{256}", PatternSyntax::RegularExpression).Matches(everyByte));
    EXPECT_TRUE(Compiled("^$", PatternSyntax::RegularExpression).Matches(""));
}

TEST(TextPattern, AMatchIsFoundAtEveryOffsetOfLongTexts)
{
    // Searches skip ahead over bytes that cannot start a match, sixteen at a time where they can:
    // every position of texts longer than that, for patterns with one, two, three and more first bytes.
    struct Case {
        const char* pattern;
        PatternSyntax syntax;
        bool caseSensitive;
        const char* inserted;
    };
    const std::vector<Case> cases = {
        {"q7", PatternSyntax::PlainText, true, "q7"},
        {"q7", PatternSyntax::PlainText, false, "Q7"},
        {"[qrs]7", PatternSyntax::RegularExpression, true, "s7"},
        {"[q-z]7", PatternSyntax::RegularExpression, true, "z7"},
        {"\\bq7$", PatternSyntax::RegularExpression, true, "q7"},
    };
    for (const Case& c : cases) {
        TextPattern pattern = Compiled(c.pattern, c.syntax, c.caseSensitive);
        for (size_t length = 2; length <= 70; ++length) {
            for (size_t at = 0; at + 2 <= length; ++at) {
                std::string text(length, '.');
                text.replace(at, 2, c.inserted);
                bool expected = std::string(c.pattern).find('$') == std::string::npos || at + 2 == length;
                ASSERT_EQ(expected, pattern.Matches(text)) << c.pattern << " in \"" << text << "\"";
                std::string without(length, '.');
                without[at] = c.inserted[0];  // the first byte alone is no match
                ASSERT_FALSE(pattern.Matches(without)) << c.pattern << " in \"" << without << "\"";
            }
        }
    }
}

TEST(TextPattern, FindGivesTheLeftmostLongestMatchAndFindAllEveryOneForMarking)
{
    TextPattern pattern = Compiled("a+", PatternSyntax::RegularExpression);
    MatchSpan span;
    ASSERT_TRUE(pattern.Find("xaaxa", 0, &span));
    EXPECT_EQ(1u, span.begin);
    EXPECT_EQ(3u, span.end);
    ASSERT_TRUE(pattern.Find("xaaxa", 3, &span));
    EXPECT_EQ(4u, span.begin);
    EXPECT_EQ(5u, span.end);
    EXPECT_FALSE(pattern.Find("xaaxa", 5, &span));

    std::vector<MatchSpan> spans = Compiled("ab", PatternSyntax::PlainText).FindAll("Ab ab aB x");
    ASSERT_EQ(3u, spans.size());
    EXPECT_EQ(0u, spans[0].begin);
    EXPECT_EQ(3u, spans[1].begin);
    EXPECT_EQ(6u, spans[2].begin);
    EXPECT_EQ(8u, spans[2].end);
    EXPECT_TRUE(Compiled("x*", PatternSyntax::RegularExpression).FindAll("abc").empty());
}

TEST(TextPattern, WordBoundariesInFindLookAtTheByteBefore)
{
    MatchSpan span;
    ASSERT_TRUE(Compiled("\\bcat\\b", PatternSyntax::RegularExpression).Find("concat cat", 0, &span));
    EXPECT_EQ(7u, span.begin);
}

TEST(TextPattern, DoubleByteCharactersAreNeverMatchedFromTheirSecondByte)
{
    // 0x95 0x5C is one character whose second byte is a backslash; 0x83 0x41 one whose second is 'A'.
    MatchCodePage codePage = DoubleByteCodePage();
    const std::string text = "x\x95\x5C" "y\x83\x41";
    EXPECT_FALSE(Compiled("\\", PatternSyntax::PlainText, true, codePage).Matches(text));
    EXPECT_FALSE(Compiled("a", PatternSyntax::PlainText, false, codePage).Matches(text));
    EXPECT_TRUE(Compiled("\x95\x5C", PatternSyntax::PlainText, true, codePage).Matches(text));
    EXPECT_TRUE(Compiled("x.y", PatternSyntax::RegularExpression, true, codePage).Matches(text));
    EXPECT_TRUE(Compiled("^x[^a]y", PatternSyntax::RegularExpression, true, codePage).Matches(text));
    EXPECT_TRUE(Compiled("\x83\x41$", PatternSyntax::RegularExpression, true, codePage).Matches(text));
    TextPattern refused;
    std::string error;
    EXPECT_FALSE(refused.Compile("[\x95\x5C]", PatternSyntax::RegularExpression, true, codePage, &error));
    EXPECT_EQ("a two-byte character cannot stand in a [ ] class (character 2)", error);
}

// Random patterns of the subset against random short texts, with the C++ library's ECMAScript
// engine (which backtracks, so patterns and texts stay small) as the judge of what matches.
class RandomPatterns {
public:
    std::string Pattern(int depth = 0)
    {
        std::string out;
        int items = 1 + Next(3);
        for (int i = 0; i < items; ++i) {
            out += Atom(depth);
        }
        if (depth < 2 && Next(5) == 0) {
            out += "|" + Pattern(depth + 1);
        }
        return out;
    }

    std::string Text()
    {
        static const char Alphabet[] = "abcAB1_ -";
        std::string out;
        int length = Next(9);
        for (int i = 0; i < length; ++i) {
            out += Alphabet[Next(9)];
        }
        return out;
    }

    int Next(int bound)
    {
        seed_ = seed_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((seed_ >> 33) % static_cast<unsigned long long>(bound));
    }

private:
    std::string Atom(int depth)
    {
        static const char* const Simple[] = {"a", "b", "c", "A", "1", "_", " ", "-", ".", "[a-c]", "[^ab]",
                                             "\\d", "\\w", "\\W", "\\s", "\\b", "\\B", "^", "$", "[A-]"};
        std::string atom;
        if (depth < 2 && Next(6) == 0) {
            atom = "(" + Pattern(depth + 1) + ")";
        } else {
            atom = Simple[Next(20)];
        }
        bool assertion = atom == "^" || atom == "$" || atom == "\\b" || atom == "\\B";
        if (!assertion) {
            static const char* const Repeats[] = {"", "", "", "*", "+", "?", "{2}", "{1,2}", "{0,}"};
            atom += Repeats[Next(9)];
        }
        return atom;
    }

    unsigned long long seed_ = 20261208;
};

TEST(TextPattern, AnAutomatonTooLargeToKeepIsBuiltAgainAsItGoesAndStillMatchesRightly)
{
    // The 13th byte from the end is an a: thousands of deterministic states, more than are kept.
    const std::string expression = "(a|b)*a(a|b){12}$";
    TextPattern pattern = Compiled(expression, PatternSyntax::RegularExpression, true);
    std::regex judge(expression);
    RandomPatterns random;
    for (int t = 0; t < 400; ++t) {
        std::string text;
        for (int i = 0; i < 60; ++i) {
            text += random.Next(2) == 0 ? 'a' : 'b';
        }
        ASSERT_EQ(std::regex_search(text, judge), pattern.Matches(text)) << text;
    }
}

TEST(TextPattern, AnyBytesAsAPatternAreCompiledOrRefusedAndNeverCrash)
{
    RandomPatterns random;
    static const char Pieces[] = "()[]{}|*+?.^$\\-,0123456789abdwsxBD:=!<";
    int refused = 0;
    for (int p = 0; p < 20000; ++p) {
        std::string pattern;
        int length = random.Next(24);
        for (int i = 0; i < length; ++i) {
            pattern += random.Next(4) == 0 ? static_cast<char>(random.Next(256))
                                           : Pieces[random.Next(static_cast<int>(sizeof(Pieces) - 1))];
        }
        TextPattern compiled;
        std::string error;
        if (compiled.Compile(pattern, PatternSyntax::RegularExpression, random.Next(2) == 0, AsciiCodePage(), &error)) {
            compiled.Matches(random.Text());
            compiled.FindAll(random.Text());
        } else {
            EXPECT_FALSE(error.empty()) << pattern;
            ++refused;
        }
    }
    EXPECT_GT(refused, 1000);
    EXPECT_LT(refused, 19000);
}

TEST(TextPattern, AgreesWithTheStandardLibraryOnRandomPatternsAndTexts)
{
    RandomPatterns random;
    int compared = 0;
    for (int p = 0; p < 1500; ++p) {
        std::string pattern = random.Pattern();
        bool caseSensitive = random.Next(2) == 0;
        std::regex judge(pattern, caseSensitive ? std::regex::ECMAScript : std::regex::ECMAScript | std::regex::icase);
        TextPattern compiled = Compiled(pattern, PatternSyntax::RegularExpression, caseSensitive);
        for (int t = 0; t < 12; ++t) {
            std::string text = random.Text();
            std::smatch first;
            bool expected = std::regex_search(text, first, judge);
            ASSERT_EQ(expected, compiled.Matches(text)) << "pattern \"" << pattern << "\" text \"" << text << "\"";
            MatchSpan span;
            ASSERT_EQ(expected, compiled.Find(text, 0, &span));
            if (expected) {
                // Both start at the leftmost match; ours is the longest there.
                EXPECT_EQ(static_cast<size_t>(first.position(0)), span.begin) << pattern << " / " << text;
                EXPECT_GE(span.end - span.begin, static_cast<size_t>(first.length(0))) << pattern << " / " << text;
            }
            ++compared;
        }
    }
    EXPECT_EQ(18000, compared);
}

} // namespace
