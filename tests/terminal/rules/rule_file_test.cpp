// Rule sets as text: reading, writing, the round trip, and every way a file can be wrong.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "rule_file.h"
#include "temporary_file.h"
#include "made_rules.h"

namespace {

std::vector<Rule> Parsed(const std::string& text)
{
    std::vector<Rule> rules;
    std::string error;
    EXPECT_TRUE(ParseRuleText(text, &rules, &error)) << error;
    return rules;
}

const std::string Canonical =
    "# vornak-terminal rules: [disabled] KIND [#RRGGBB] [text=#RRGGBB] [matched] [class=CLASS] [process=NAME] [regex] [case] 'PATTERN'\r\n"
    "include 'net'\r\n"
    "exclude class=debug regex case '^Poller : idle \\d+$'\r\n"
    "highlight #FFC0C0 class=error 'disk full'\r\n"
    "stop 'exception'\r\n"
    "disabled exclude 'it''s \"quoted\" \\ and caf\xC3\xA9'\r\n"
    "include \"tab\\x09and\\x0Dreturn \\\"\\\\\"\r\n"
    "exclude ''\r\n"
    "highlight #C0FFC0 class=ods process=Vrk?Svc*.exe 'ready'\r\n"
    "highlight #FFE0E0 text=#800000 matched regex 'timeout \\d+'\r\n";

TEST(RuleFile, ACanonicalFileReadsAsItsRules)
{
    std::vector<Rule> rules = Parsed(Canonical);
    ASSERT_EQ(9u, rules.size());
    EXPECT_EQ(MakeRule(RuleKind::Include, "net"), rules[0]);
    Rule poller = MakeRule(RuleKind::Exclude, "^Poller : idle \\d+$");
    poller.onlyClass = LineClass::Debug;
    poller.syntax = PatternSyntax::RegularExpression;
    poller.caseSensitive = true;
    EXPECT_EQ(poller, rules[1]);
    Rule disk = MakeRule(RuleKind::Highlight, "disk full");
    disk.colour = 0xFFC0C0;
    disk.onlyClass = LineClass::Error;
    EXPECT_EQ(disk, rules[2]);
    EXPECT_EQ(MakeRule(RuleKind::StopFollowing, "exception"), rules[3]);
    Rule quoted = MakeRule(RuleKind::Exclude, "it's \"quoted\" \\ and caf\xC3\xA9");
    quoted.enabled = false;
    EXPECT_EQ(quoted, rules[4]);
    EXPECT_EQ(MakeRule(RuleKind::Include, "tab\tand\rreturn \"\\"), rules[5]);
    EXPECT_EQ(MakeRule(RuleKind::Exclude, ""), rules[6]);
    Rule service = MakeRule(RuleKind::Highlight, "ready");
    service.colour = 0xC0FFC0;
    service.onlyClass = LineClass::Ods;
    service.process = "Vrk?Svc*.exe";
    EXPECT_EQ(service, rules[7]);
    Rule timeout = MakeRule(RuleKind::Highlight, "timeout \\d+");
    timeout.colour = 0xFFE0E0;
    timeout.textColour = 0x800000;
    timeout.matchedOnly = true;
    timeout.syntax = PatternSyntax::RegularExpression;
    EXPECT_EQ(timeout, rules[8]);
}

TEST(RuleFile, WritingWhatWasReadGivesTheCanonicalFileBack)
{
    EXPECT_EQ(Canonical, FormatRuleText(Parsed(Canonical)));
}

TEST(RuleFile, AnyPatternSurvivesTheRoundTrip)
{
    std::vector<Rule> rules;
    std::string everyByte;
    for (int c = 1; c < 0x80; ++c) {
        everyByte += static_cast<char>(c);
    }
    for (const std::string& pattern : {everyByte, std::string("'"), std::string("''"), std::string("\""),
                                       std::string("\\x41"), std::string(" lead and trail "), std::string(255, 'x'),
                                       std::string("\xE6\x97\xA5\xE6\x9C\xAC")}) {
        rules.push_back(MakeRule(RuleKind::Exclude, pattern));
    }
    EXPECT_EQ(rules, Parsed(FormatRuleText(rules)));
}

TEST(RuleFile, WordsMayComeInAnyOrderAndCaseAndLinesMayEndEitherWay)
{
    std::vector<Rule> rules = Parsed("\xEF\xBB\xBF# exported by hand\n\n   \n"
                                     "  HIGHLIGHT case Regex class=Error #ff00aa \"x\"\n"
                                     "highlight 'default colour'");
    ASSERT_EQ(2u, rules.size());
    EXPECT_EQ(0xFF00AAu, rules[0].colour);
    EXPECT_TRUE(rules[0].caseSensitive);
    EXPECT_EQ(PatternSyntax::RegularExpression, rules[0].syntax);
    EXPECT_EQ(LineClass::Error, *rules[0].onlyClass);
    EXPECT_EQ(DefaultHighlightColour, rules[1].colour);
}

TEST(RuleFile, EveryWrongLineIsNamedWithWhatIsWrong)
{
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"include 'a'\ninclde 'b'", "line 2: unknown rule kind \"inclde\" (include, exclude, highlight or stop)"},
        {"'a'", "line 1: unknown rule kind \"'\" (include, exclude, highlight or stop)"},
        {"include", "line 1: no pattern: give it last, in quotes ('text' or \"text\")"},
        {"include net", "line 1: unknown word \"net\" (regex, case, class=NAME, process=NAME, #RRGGBB, or the pattern in quotes)"},
        {"exclude 'abc", "line 1: the quote that opens at column 9 is not closed"},
        {"exclude \"abc", "line 1: the quote that opens at column 9 is not closed"},
        {"exclude 'a' case", "line 1: text after the pattern's closing quote"},
        {"exclude regex regex 'a'", "line 1: \"regex\" is given twice"},
        {"exclude class=log class=log 'a'", "line 1: \"class=\" is given twice"},
        {"exclude process=a.exe PROCESS=b.exe 'a'", "line 1: \"process=\" is given twice"},
        {"exclude process= 'a'", "line 1: process= names no process (give its image name, * and ? as wildcards)"},
        {"exclude #FF0000 'a'", "line 1: a colour goes only with highlight"},
        {"highlight #FF00 'a'", "line 1: colour \"#FF00\" is not #RRGGBB"},
        {"highlight #GG0000 'a'", "line 1: colour \"#GG0000\" is not #RRGGBB"},
        {"include text=#000000 'a'", "line 1: a colour goes only with highlight"},
        {"highlight text=#00 'a'", "line 1: colour \"#00\" is not #RRGGBB"},
        {"highlight text=#000000 TEXT=#000000 'a'", "line 1: \"text=\" is given twice"},
        {"exclude matched 'a'", "line 1: matched goes only with highlight"},
        {"exclude class=warning 'a'", "line 1: unknown class \"warning\" (debug, log, statistic, error, separator or ods)"},
        {"exclude class=clear 'a'", "line 1: unknown class \"clear\" (debug, log, statistic, error, separator or ods)"},
        {"exclude \"a\\qb\"", "line 1: \"\\q\" is not an escape in a \"...\" pattern (\\\\, \\\", \\xHH)"},
        {"exclude \"a\\x4\"", "line 1: \"\\x\" is not an escape in a \"...\" pattern (\\\\, \\\", \\xHH)"},
        {"exclude 'caf\xE9'", "line 1: not UTF-8 text (save the file as UTF-8)"},
        {"exclude '\xED\xA0\x80'", "line 1: not UTF-8 text (save the file as UTF-8)"},
        {"exclude \"\\xC3\\xA9 \\xFF\"",
         "line 1: the pattern's \\x escapes do not make UTF-8 text (write characters above ASCII as they are)"},
        {"exclude '" + std::string(70000, 'x') + "'", "line 1: longer than 65536 bytes"},
    };
    for (const Case& c : cases) {
        std::vector<Rule> rules = {MakeRule(RuleKind::Include, "kept")};
        std::string error;
        EXPECT_FALSE(ParseRuleText(c.text, &rules, &error)) << c.text.substr(0, 40);
        EXPECT_EQ(c.error, error);
        EXPECT_EQ(1u, rules.size());
    }
}

TEST(RuleFile, AThousandRulesAreReadAndOneMoreIsRefused)
{
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "exclude 'x'\n";
    }
    EXPECT_EQ(1000u, Parsed(text).size());
    std::vector<Rule> rules;
    std::string error;
    EXPECT_FALSE(ParseRuleText(text + "exclude 'x'\n", &rules, &error));
    EXPECT_EQ("line 1001: more than 1000 rules", error);
}

TEST(RuleFile, AnyBytesAreReadAsRulesOrRefusedWithALineNumberAndWhatIsReadWritesBackTheSame)
{
    static const char Pieces[] = "include exclude highlight stop disabled regex case class=error #FF00FF '\"\\x\n\r\t";
    unsigned long long seed = 42;
    auto next = [&seed](int bound) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((seed >> 33) % static_cast<unsigned long long>(bound));
    };
    int accepted = 0;
    for (int f = 0; f < 5000; ++f) {
        std::string text;
        int length = next(60);
        for (int i = 0; i < length; ++i) {
            text += next(8) == 0 ? static_cast<char>(next(256)) : Pieces[next(static_cast<int>(sizeof(Pieces) - 1))];
        }
        std::vector<Rule> rules;
        std::string error;
        if (ParseRuleText(text, &rules, &error)) {
            ++accepted;
            std::vector<Rule> again;
            ASSERT_TRUE(ParseRuleText(FormatRuleText(rules), &again, &error)) << error;
            EXPECT_EQ(rules, again);
        } else {
            EXPECT_EQ(0u, error.find("line ")) << error;
        }
    }
    EXPECT_GT(accepted, 100);
}

TEST(RuleFile, RulesWrittenToAFileAreReadBack)
{
    TemporaryFile file(L"rules");
    std::vector<Rule> rules = Parsed(Canonical);
    std::string error;
    ASSERT_TRUE(WriteRuleFile(file.Path(), rules, &error)) << error;
    std::vector<Rule> read;
    ASSERT_TRUE(ReadRuleFile(file.Path(), &read, &error)) << error;
    EXPECT_EQ(rules, read);
}

TEST(RuleFile, AMissingFileIsReportedWithTheSystemsReason)
{
    std::vector<Rule> rules;
    std::string error;
    EXPECT_FALSE(ReadRuleFile(L"C:\\no-such-folder-here\\rules.txt", &rules, &error));
    EXPECT_EQ(0u, error.find("cannot read the rules file: error 3"));
}

} // namespace
