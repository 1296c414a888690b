// Which lines the rules show, highlight and stop on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_rules.h"
#include "line_text.h"
#include "received_lines.h"
#include "made_rules.h"

namespace {

RuleSet Compiled(const std::vector<Rule>& rules)
{
    RuleSet set;
    std::string error;
    EXPECT_TRUE(set.Compile(rules, Utf8LineEncoding(), &error)) << error;
    return set;
}

// Which of the texts (debug lines) the rules show.
std::vector<std::string> ShownOf(const RuleSet& rules, const std::vector<std::string>& texts)
{
    std::vector<std::string> shown;
    for (const std::string& text : texts) {
        ReceivedLine line = Line(LineClass::Debug, text + "\n");
        EXPECT_EQ(rules.Shows(line), rules.Evaluate(line).shown) << text;
        if (rules.Shows(line)) {
            shown.push_back(text);
        }
    }
    return shown;
}

const std::vector<std::string> Texts = {"disk full", "disk ok", "net down", "net up", "idle"};

TEST(LineRules, WithoutRulesEveryLineIsShownAndNothingStandsOut)
{
    RuleSet rules;
    LineVerdict verdict = rules.Evaluate(Line(LineClass::Error, "disk full\n"));
    EXPECT_TRUE(verdict.shown);
    EXPECT_FALSE(verdict.highlighted);
    EXPECT_FALSE(verdict.stopsFollowing);
    EXPECT_EQ(0, rules.Mark(Line(LineClass::Error, "disk full\n")));
}

TEST(LineRules, ExcludeRulesAloneHideWhatTheyMatchAndShowTheRest)
{
    RuleSet rules = Compiled({MakeRule(RuleKind::Exclude, "disk")});
    EXPECT_EQ((std::vector<std::string>{"net down", "net up", "idle"}), ShownOf(rules, Texts));
}

TEST(LineRules, WithAnIncludeRuleALineNoRuleMatchesIsHidden)
{
    RuleSet rules = Compiled({MakeRule(RuleKind::Include, "net"), MakeRule(RuleKind::Exclude, "disk")});
    EXPECT_EQ((std::vector<std::string>{"net down", "net up"}), ShownOf(rules, Texts));
}

TEST(LineRules, TheFirstMatchingIncludeOrExcludeDecides)
{
    RuleSet excludeFirst = Compiled({MakeRule(RuleKind::Exclude, "disk full"), MakeRule(RuleKind::Include, "disk")});
    EXPECT_EQ((std::vector<std::string>{"disk ok"}), ShownOf(excludeFirst, Texts));
    RuleSet includeFirst = Compiled({MakeRule(RuleKind::Include, "disk"), MakeRule(RuleKind::Exclude, "disk full")});
    EXPECT_EQ((std::vector<std::string>{"disk full", "disk ok"}), ShownOf(includeFirst, Texts));
}

// An empty pattern restricted to a class hides the whole class.
TEST(LineRules, ARuleRestrictedToAClassLeavesOtherClassesAlone)
{
    Rule disk = MakeRule(RuleKind::Exclude, "disk");
    disk.onlyClass = LineClass::Error;
    Rule everything = MakeRule(RuleKind::Exclude, "");
    everything.onlyClass = LineClass::Debug;
    RuleSet rules = Compiled({disk, everything});
    std::vector<bool> shown;
    for (LineClass lineClass : {LineClass::Error, LineClass::Debug, LineClass::Log}) {
        for (const char* text : {"disk full\n", "anything\n"}) {
            shown.push_back(rules.Shows(Line(lineClass, text)));
        }
    }
    EXPECT_EQ((std::vector<bool>{false, true, false, false, true, true}), shown);
}

TEST(LineRules, ARuleNamingAProcessMatchesOnlyTheOdsLinesOfTheProcessesItsWildcardFits)
{
    Rule service = MakeRule(RuleKind::Include, "");
    service.process = "vrk*svc?.EXE";
    RuleSet rules = Compiled({service});
    std::vector<std::string> shown;
    for (const char* name : {"VrkNetSvc1.exe", "vrksvc2.exe", "vrksvc.exe", "vrksvc12.exe", "other.exe", "",
                             "a.vrksvc1.exe"}) {
        if (rules.Shows(SampleOdsLine("ready", name))) {
            shown.push_back(name);
        }
    }
    EXPECT_EQ((std::vector<std::string>{"VrkNetSvc1.exe", "vrksvc2.exe"}), shown);
    EXPECT_FALSE(rules.Shows(Line(LineClass::Debug, "ready\n")));  // the library's lines have no writer
    // The rest of the pattern syntax is literal in a name.
    Rule dotted = MakeRule(RuleKind::Include, "");
    dotted.process = "a.b(1)";
    RuleSet literal = Compiled({dotted});
    EXPECT_TRUE(literal.Shows(SampleOdsLine("x", "a.b(1)")));
    EXPECT_FALSE(literal.Shows(SampleOdsLine("x", "axb(1)")));
}

TEST(LineRules, TheFirstMatchingHighlightGivesTheColour)
{
    Rule red = MakeRule(RuleKind::Highlight, "full");
    red.colour = 0xFF0000;
    Rule blue = MakeRule(RuleKind::Highlight, "disk");
    blue.colour = 0x0000FF;
    RuleSet rules = Compiled({red, blue});
    LineVerdict full = rules.Evaluate(Line(LineClass::Debug, "disk full\n"));
    EXPECT_TRUE(full.highlighted);
    EXPECT_EQ(0xFF0000u, full.colour);
    EXPECT_EQ(0x0000FFu, rules.Evaluate(Line(LineClass::Debug, "disk ok\n")).colour);
    EXPECT_FALSE(rules.Evaluate(Line(LineClass::Debug, "idle\n")).highlighted);
}

TEST(LineRules, AHighlightGivesItsTextColourOrAContrastingOneAndMayMarkOnlyWhatItMatched)
{
    Rule timeout = MakeRule(RuleKind::Highlight, "t[0-9]+", PatternSyntax::RegularExpression);
    timeout.colour = 0xFFE0E0;
    timeout.textColour = 0x800000;
    timeout.matchedOnly = true;
    Rule dark = MakeRule(RuleKind::Highlight, "dark");
    dark.colour = 0x202060;
    RuleSet rules = Compiled({timeout, dark});

    ReceivedLine line = Line(LineClass::Debug, "t1 late, t22 later\n");
    LineMark mark = rules.Mark(line);
    LineVerdict verdict = rules.VerdictOf(mark);
    EXPECT_TRUE(verdict.highlighted && verdict.matchedOnly);
    EXPECT_EQ(0x800000u, verdict.textColour);
    std::vector<MatchSpan> spans = rules.HighlightSpans(mark, "t1 late, t22 later");
    ASSERT_EQ(2u, spans.size());
    EXPECT_EQ(0u, spans[0].begin);
    EXPECT_EQ(2u, spans[0].end);
    EXPECT_EQ(9u, spans[1].begin);
    EXPECT_EQ(12u, spans[1].end);

    LineVerdict whole = rules.Evaluate(Line(LineClass::Debug, "dark\n"));
    EXPECT_FALSE(whole.matchedOnly);
    EXPECT_EQ(0xFFFFFFu, whole.textColour);
    EXPECT_TRUE(rules.HighlightSpans(rules.Mark(Line(LineClass::Debug, "idle\n")), "idle").empty());
}

TEST(LineRules, AStopRuleMarksTheLinesItMatchesAndFiltersNothing)
{
    RuleSet rules = Compiled({MakeRule(RuleKind::StopFollowing, "exception")});
    LineVerdict verdict = rules.Evaluate(Line(LineClass::Error, "unhandled Exception in worker\n"));
    EXPECT_TRUE(verdict.stopsFollowing);
    EXPECT_TRUE(verdict.shown);
    EXPECT_FALSE(rules.Evaluate(Line(LineClass::Error, "all well\n")).stopsFollowing);
}

TEST(LineRules, DisabledRulesCountForNothing)
{
    Rule include = MakeRule(RuleKind::Include, "net");
    include.enabled = false;
    RuleSet rules = Compiled({include, MakeRule(RuleKind::Exclude, "idle")});
    EXPECT_EQ((std::vector<std::string>{"disk full", "disk ok", "net down", "net up"}), ShownOf(rules, Texts));
}

TEST(LineRules, RulesMatchTheTextAsTheListShowsIt)
{
    RuleSet rules = Compiled({MakeRule(RuleKind::Exclude, "a\\tb"), MakeRule(RuleKind::Exclude, "too long"),
                              MakeRule(RuleKind::Exclude, "^end$", PatternSyntax::RegularExpression)});
    EXPECT_FALSE(rules.Shows(Line(LineClass::Debug, "a\tb\n")));
    ReceivedLine tooLong = Line(LineClass::Debug, "");
    tooLong.carriage = LineCarriage::TooLong;
    EXPECT_FALSE(rules.Shows(tooLong));
    EXPECT_FALSE(rules.Shows(Line(LineClass::Debug, "end\n")));
    EXPECT_TRUE(rules.Shows(Line(LineClass::Debug, "end\n\n")));  // shown as "end\n"
}

TEST(LineRules, TheMatchedTextIsTheListsTextForEveryByte)
{
    for (int c = 1; c < 256; ++c) {
        ReceivedLine line = Line(LineClass::Debug, std::string("a") + static_cast<char>(c) + "b\n");
        std::string scratch;
        EXPECT_EQ(DisplayText(line), MatchedText(line, &scratch)) << "byte " << c;
    }
    ReceivedLine marker = Line(LineClass::ClearMarker, "");
    std::string scratch;
    EXPECT_EQ("terminal cleared", MatchedText(marker, &scratch));
}

TEST(LineRules, ABadRuleIsRefusedByNumberKindAndPatternAndTheOldRulesStay)
{
    RuleSet rules = Compiled({MakeRule(RuleKind::Exclude, "idle")});
    std::string error;
    EXPECT_FALSE(rules.Compile({MakeRule(RuleKind::Include, "net"),
                                MakeRule(RuleKind::Exclude, "a(b", PatternSyntax::RegularExpression)},
                               Utf8LineEncoding(), &error));
    EXPECT_EQ("rule 2, exclude \"a(b\": missing ) for the ( at character 2", error);
    EXPECT_FALSE(rules.Shows(Line(LineClass::Debug, "idle\n")));
    EXPECT_EQ(1u, rules.Rules().size());
}

TEST(LineRules, ALongBadPatternIsShownCutInTheMessage)
{
    RuleSet rules;
    std::string error;
    std::string pattern = "(" + std::string(100, 'x');
    Rule rule = MakeRule(RuleKind::Highlight, pattern, PatternSyntax::RegularExpression);
    EXPECT_FALSE(rules.Compile({rule}, Utf8LineEncoding(), &error));
    EXPECT_EQ("rule 1, highlight \"(" + std::string(59, 'x') + "...\": missing ) for the ( at character 1", error);
}

TEST(LineRules, APatternTheCodePageCannotHoldIsRefused)
{
    LineEncoding encoding = Utf8LineEncoding();
    encoding.codePageNumber = 1252;
    encoding.fromUtf8 = [](std::string_view, std::string*) { return false; };
    RuleSet rules;
    std::string error;
    EXPECT_FALSE(rules.Compile({MakeRule(RuleKind::Include, "\xE6\x97\xA5")}, encoding, &error));
    EXPECT_EQ("rule 1, include \"\xE6\x97\xA5\": the pattern has characters that code page 1252 of this system "
              "cannot hold",
              error);
}

TEST(LineRules, ContrastingTextIsBlackOnLightAndWhiteOnDark)
{
    EXPECT_EQ(0x000000u, ContrastingTextColour(0xFFFF80));
    EXPECT_EQ(0xFFFFFFu, ContrastingTextColour(0x000080));
    EXPECT_EQ(0xFFFFFFu, ContrastingTextColour(0xC00000));
}

} // namespace
