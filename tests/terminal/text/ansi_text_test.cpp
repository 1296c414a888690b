// The hosts' ANSI text as UTF-8, and rule patterns in the hosts' code page.
#include <gtest/gtest.h>

#include <string>

#include "ansi_text.h"
#include "line_encoding.h"
#include "line_text.h"
#include "text_pattern.h"

namespace {

TEST(AnsiText, BytesOfAWesternCodePageBecomeTheirCharactersInUtf8)
{
    EXPECT_EQ("plain ASCII stays", AnsiToUtf8("plain ASCII stays", 1252));
    EXPECT_EQ("caf\xC3\xA9 \xE2\x82\xAC 5", AnsiToUtf8("caf\xE9 \x80 5", 1252));
    EXPECT_EQ("\xC3\xBF", AnsiToUtf8("\xFF", 1252));
    EXPECT_EQ("\x01\t\x7F", AnsiToUtf8("\x01\t\x7F", 1252));
    EXPECT_EQ("", AnsiToUtf8("", 1252));
}

TEST(AnsiText, CyrillicAndJapaneseCodePagesDecodeTheirOwnCharacters)
{
    EXPECT_EQ("\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0", AnsiToUtf8("\xCE\xF8\xE8\xE1\xEA\xE0", 1251));
    EXPECT_EQ("\xE6\x97\xA5\xE6\x9C\xAC", AnsiToUtf8("\x93\xFA\x96\x7B", 932));
}

TEST(AnsiText, EveryByteDecodesWithoutLoss)
{
    std::string everyByte;
    for (int c = 1; c < 256; ++c) {
        everyByte += static_cast<char>(c);
    }
    std::string utf8 = AnsiToUtf8(everyByte, 1252);
    std::string back;
    ASSERT_TRUE(Utf8ToAnsi(utf8, 1252, &back));
    EXPECT_EQ(everyByte, back);
}

TEST(AnsiText, PatternsTheCodePageCannotHoldAreRefused)
{
    std::string bytes;
    EXPECT_TRUE(Utf8ToAnsi("caf\xC3\xA9", 1252, &bytes));
    EXPECT_EQ("caf\xE9", bytes);
    EXPECT_FALSE(Utf8ToAnsi("\xE6\x97\xA5", 1252, &bytes));  // no best-fit stand-in
    EXPECT_FALSE(Utf8ToAnsi("caf\xE9", 1252, &bytes));       // not UTF-8
}

TEST(AnsiText, RulesFoldTheCodePagesOwnLettersAndKeepItsDoubleByteCharactersWhole)
{
    LineEncoding cyrillic = SystemLineEncoding(1251);
    std::string pattern;
    ASSERT_TRUE(cyrillic.fromUtf8("\xD0\x9E\xD0\xA8\xD0\x98\xD0\x91\xD0\x9A\xD0\x90", &pattern));  // upper case
    TextPattern compiled;
    std::string error;
    ASSERT_TRUE(compiled.Compile(pattern, PatternSyntax::PlainText, false, cyrillic.codePage, &error)) << error;
    EXPECT_TRUE(compiled.Matches("\xEE\xF8\xE8\xE1\xEA\xE0 5"));  // lower case, code page 1251

    LineEncoding japanese = SystemLineEncoding(932);
    EXPECT_TRUE(japanese.codePage.lead[0x93]);
    EXPECT_FALSE(japanese.codePage.lead['A']);
    ASSERT_TRUE(compiled.Compile("\\", PatternSyntax::PlainText, true, japanese.codePage, &error));
    EXPECT_FALSE(compiled.Matches("\x95\x5C"));  // one character whose second byte is a backslash
    EXPECT_EQ(932u, japanese.codePageNumber);
}

TEST(AnsiText, ALinesOutsideTextHasNoLineFeedAndPlaceholdersWhereNothingCame)
{
    ReceivedLine line;
    line.text = "caf\xE9\n";
    EXPECT_EQ("caf\xC3\xA9", LineTextUtf8(line, 1252));
    line.carriage = LineCarriage::TooLong;
    EXPECT_EQ("<line too long to carry>", LineTextUtf8(line, 1252));
    line.lineClass = LineClass::ClearMarker;
    EXPECT_EQ("terminal cleared", LineTextUtf8(line, 1252));
}

TEST(AnsiText, MarksMoveToTheUtf16TextTheListDraws)
{
    // "日本 disk": two characters of two bytes each, then ASCII.
    const std::string text = "\x93\xFA\x96\x7B disk";
    std::vector<MatchSpan> wide = WideSpans(text, {MatchSpan{5, 9}, MatchSpan{0, 2}}, 932);
    ASSERT_EQ(2u, wide.size());
    EXPECT_EQ(3u, wide[0].begin);
    EXPECT_EQ(7u, wide[0].end);
    EXPECT_EQ(0u, wide[1].begin);
    EXPECT_EQ(1u, wide[1].end);
    std::vector<MatchSpan> same = WideSpans("plain disk", {MatchSpan{6, 10}}, 932);
    EXPECT_EQ(6u, same[0].begin);
    EXPECT_EQ(10u, same[0].end);
}

} // namespace
