#include <gtest/gtest.h>

#include <string>

#include "Base/TextCells.h"
#include "Base/TextTables.h"
#include "Base/Utf8.h"
#include "Platform/CodePages.h"

namespace {

TEST(TextCellsTest, CellsAndCutsNeverSplitACharacter) {
  const struct {
    std::string Text;
    int Cells;
    int CutAt;
    std::string Cut;
  } cases[] = {
      {"plain.txt", 9, 5, "plain"},
      {"caf\u00E9 \u03A9mega", 10, 4, "caf\u00E9"},
      {"\u65E5\u672C.txt", 8, 3, "\u65E5"},  // the second wide character would take cells 3-4
      {"\U0001F600x", 3, 1, ""},
      {"e\u0301t\u00E9", 3, 1, "e\u0301"},  // a combining mark stays with its character
      {"\u0301ab", 3, 1, "\u0301"},            // a mark with nothing to join takes a cell ("?")
      {"\u1112\u1161\u11AB\u1100", 4, 3, "\u1112\u1161\u11AB"},  // Hangul jamo join
      {"\xFF\xC3", 2, 1, "\xFF"},           // malformed bytes: one cell each
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextCells(c.Text), c.Cells) << c.Text;
    EXPECT_EQ(std::string(CellPrefix(c.Text, c.CutAt)), c.Cut) << c.Text;
  }
}

// Every code point below U+110000, classified once: the staged look-up and
// the counts built on it agree with the generated ranges, which
// tools/text-tables.py checks against the Unicode data.
TEST(TextCellsTest, EveryCodePointTakesTheCellsOfItsClass) {
  using namespace TextTables;
  struct Walk {
    const CodeRange* Next;
    const CodeRange* End;
    bool Holds(char32_t code) {
      while (Next != End && Next->Last < code) ++Next;
      return Next != End && Next->First <= code;
    }
  } zero{ZeroRanges, ZeroRanges + ZeroRangesCount},
      wide{WideRanges, WideRanges + WideRangesCount},
      hidden{HiddenRanges, HiddenRanges + HiddenRangesCount};
  int wrong = 0;
  char32_t firstWrong = 0;
  std::string text;
  for (char32_t code = 0; code < 0x110000; ++code) {
    const Class expected = hidden.Holds(code) ? Hidden
                           : zero.Holds(code) ? Zero
                           : wide.Holds(code) ? Two
                                              : One;
    const int cells = expected == Hidden ? 1 : static_cast<int>(expected);
    bool right = ClassOf(code) == expected && CharCells(code) == cells &&
                 HidesItself(code) == (expected == Hidden);
    if (code >= 0x80 && (code < 0xD800 || code >= 0xE000)) {
      text = "a";  // after a character, as in a name; decoded past an ASCII run
      Utf8::Append(text, code);
      right = right && TextCells(text) == 1 + cells;
    }
    if (!right && wrong++ == 0) firstWrong = code;
  }
  EXPECT_EQ(wrong, 0) << "first at U+" << std::hex << static_cast<unsigned>(firstWrong);
}

// Widths a terminal gives, from the categories and East Asian widths.
TEST(TextCellsTest, WidthsFollowTheUnicodeData) {
  const struct {
    char32_t Code;
    int Cells;
    bool Hides = false;
  } cases[] = {
      {U'a', 1},       {0x0301, 0},  // Mn
      {0x0981, 0},     {0x180B, 0},  // Mn outside the old list
      {0x20DD, 0},     {0x200D, 0},  // Me; Cf, a joiner
      {0x1161, 0},     {0x11A8, 0},  // Hangul vowel and final jamo
      {0x093F, 1},     {0x0600, 1},  // Mc; a prepended concatenation mark
      {0x4DC0, 2},     {0x3248, 2},  // wide on terminals, whatever the width file says
      {0xAC00, 2},     {0x1F600, 2}, {0x1F3FB, 2}, {0x20000, 2}, {0x3FFFD, 2},
      {0xFFFD, 1},     {0xE0100, 0},  // a variation selector beyond 16 bits
      {0x202E, 1, true}, {0x00AD, 1, true}, {0x115F, 1, true}, {0xE0041, 1, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharCells(c.Code), c.Cells) << std::hex << static_cast<unsigned>(c.Code);
    EXPECT_EQ(HidesItself(c.Code), c.Hides) << std::hex << static_cast<unsigned>(c.Code);
  }
}

TEST(TextCellsTest, PairsComposeIntoTheirPrecomposedCharacter) {
  const struct {
    char32_t Base;
    char32_t Mark;
    char32_t Composed;
  } cases[] = {
      {U'e', 0x0301, 0x00E9}, {U'A', 0x030A, 0x00C5},  // Latin
      {0x03B1, 0x0313, 0x1F00},                        // Greek
      {0x0438, 0x0306, 0x0439},                        // Cyrillic
      {0x1112, 0x1161, 0xD558}, {0xD558, 0x11AB, 0xD55C},  // Hangul, by arithmetic
      {0x304B, 0x3099, 0x304C},                        // kana
      {U'x', 0x0301, 0},                               // no such character
      {0x0915, 0x093C, 0},                             // excluded from composition
      {0xD55C, 0x11AB, 0},                             // a syllable with its final already
      {0x0BC6, 0x0BBE, 0},                             // the second part takes a cell
  };
  for (const auto& c : cases)
    EXPECT_EQ(ComposedPair(c.Base, c.Mark), c.Composed)
        << std::hex << static_cast<unsigned>(c.Base) << " " << static_cast<unsigned>(c.Mark);
}

TEST(TextCellsTest, Utf16RoundTripAndByteOrderMark) {
  const std::string text = "\u03A9\u65E5\U0001F600a";
  EXPECT_EQ(Utf8::ToUtf16(text), u"\u03A9\u65E5\U0001F600a");
  EXPECT_EQ(Utf8::FromUtf16(Utf8::ToUtf16(text)), text);
  // a lone surrogate is carried as the bytes of its value, and comes back
  EXPECT_EQ(Utf8::FromUtf16(u"a\xD800z"), "a\xED\xA0\x80z");
  EXPECT_EQ(Utf8::ToUtf16("a\xED\xA0\x80z"), u"a\xD800z");
  EXPECT_EQ(TextCells("a\xED\xA0\x80z"), 3);
  EXPECT_EQ(Utf8::ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong form
  EXPECT_TRUE(Utf8::StartsWithByteOrderMark("\xEF\xBB\xBFtext"));
  EXPECT_FALSE(Utf8::StartsWithByteOrderMark("\xEF\xBB"));
}

// The pieces a reader of ANSI files and a writer of batch lines use.
TEST(TextCellsTest, AnsiBytesConvertBothWays) {
  EXPECT_EQ(Utf8::FromUtf16(Plat::CodePageToWide(1252, "caf\xE9 \x80")), "caf\u00E9 \u20AC");
  std::string bytes;
  EXPECT_TRUE(Plat::WideToCodePage(1252, Utf8::ToUtf16("caf\u00E9"), bytes));
  EXPECT_EQ(bytes, "caf\xE9");
  bytes.clear();
  EXPECT_FALSE(Plat::WideToCodePage(1252, Utf8::ToUtf16("\u65E5.txt"), bytes));
  EXPECT_EQ(bytes, "?.txt");
}

}  // namespace
