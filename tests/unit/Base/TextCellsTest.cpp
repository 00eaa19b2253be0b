#include <gtest/gtest.h>

#include <string>

#include "Base/Utf8.h"
#include "Base/TextCells.h"
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
      {"\xFF\xC3", 2, 1, "\xFF"},           // malformed bytes: one cell each
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextCells(c.Text), c.Cells) << c.Text;
    EXPECT_EQ(std::string(CellPrefix(c.Text, c.CutAt)), c.Cut) << c.Text;
  }
}

// Each table's ranges hold their last code and not the one after it.
TEST(TextCellsTest, RangesEndWithTheirLastCode) {
  const struct {
    char32_t Code;
    int Cells;
  } cases[] = {
      {0x036F, 0}, {0x0370, 1}, {0x200D, 0}, {0x200E, 1}, {0xE01EF, 0}, {0xE01F0, 1},
      {0x1160, 1}, {0x231B, 2}, {0x231C, 1}, {0x1F64F, 2}, {0x1F650, 1}, {0x3FFFD, 2},
      {0x3FFFE, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(CharCells(c.Code), c.Cells) << std::hex << static_cast<unsigned>(c.Code);
  EXPECT_TRUE(HidesItself(0x1160));
  EXPECT_FALSE(HidesItself(0x1161));
}

TEST(TextCellsTest, Utf16RoundTripAndByteOrderMark) {
  const std::string text = "\u03A9\u65E5\U0001F600a";
  EXPECT_EQ(Utf8::ToUtf16(text), u"\u03A9\u65E5\U0001F600a");
  EXPECT_EQ(Utf8::FromUtf16(Utf8::ToUtf16(text)), text);
  EXPECT_EQ(Utf8::FromUtf16(u"a\xD800z"), "a\uFFFDz");    // a lone surrogate
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
