// Byte counts with thousands separators, K/M/G sizes, runs and padding.
#include "Common/Options.h"
#include "LFNFunc/NumberFormat.h"
#include "LFNFunc/SizeText.h"
#include "TestWorld.h"

namespace {

class NumberFormatTest : public TestWorld {};

TEST_F(NumberFormatTest, ThousandsTextGroupsDigitsFromTheRight) {
  EXPECT_EQ(ThousandsText(0), "0");
  EXPECT_EQ(ThousandsText(999), "999");
  EXPECT_EQ(ThousandsText(1000), "1,000");
  EXPECT_EQ(ThousandsText(123456), "123,456");
  EXPECT_EQ(ThousandsText(1234567), "1,234,567");
  EXPECT_EQ(ThousandsText(4293563392), "4,293,563,392");
  EXPECT_EQ(ThousandsText(9223372036854775807), "9,223,372,036,854,775,807");
  EXPECT_EQ(ThousandsText(-123), "-123");
  EXPECT_EQ(ThousandsText(-1234), "-1,234");
  Options.ThousandsSeparator = false;
  EXPECT_EQ(ThousandsText(1000), "1000");
  EXPECT_EQ(ThousandsText(1234567), "1234567");
}

TEST_F(NumberFormatTest, SizeTextChoosesTheUnitByPowersOfTwo) {
  EXPECT_EQ(SizeText(1023, 18, 1), "1023");
  EXPECT_EQ(SizeText(1024, 18, 1), std::string(15, ' ') + "1.0K");
  EXPECT_EQ(SizeText(1536, 6, 1), "   1.5K");
  EXPECT_EQ(ShortSizeText(1048575, 1), "1024.0K");
  EXPECT_EQ(ShortSizeText(1048576, 1), "1.0M");
  EXPECT_EQ(ShortSizeText(1073741823, 2), "1024.00M");
  EXPECT_EQ(ShortSizeText(1342177280, 2), "1.25G");
  EXPECT_EQ(ShortSizeText(1099511627776, 1), "1024.0G");
  EXPECT_EQ(ShortSizeText(12345, 2), "12.06K");
  EXPECT_EQ(ShortSizeText(512, 2), "512");
  EXPECT_EQ(SizeText(2048, 1, 0), "2K");
}

// Ties round to the even last digit, and a carry can reach the whole figure.
TEST_F(NumberFormatTest, SizeTextRoundsTiesToEven) {
  EXPECT_EQ(ShortSizeText(1024 + 256, 1), "1.2K");
  EXPECT_EQ(ShortSizeText(1024 + 768, 1), "1.8K");
  EXPECT_EQ(ShortSizeText(1024 + 128, 2), "1.12K");
  EXPECT_EQ(ShortSizeText(1024 + 384, 2), "1.38K");
  EXPECT_EQ(ShortSizeText(2048 + 512, 0), "2K");
  EXPECT_EQ(ShortSizeText(3072 + 1024 + 512, 0), "4K");
  EXPECT_EQ(ShortSizeText(1024 + 257, 1), "1.3K");
  EXPECT_EQ(ShortSizeText(1048575 - 51, 1), "1023.9K");
  EXPECT_EQ(SizeFieldUnitText(1000LL << 30), "1.0T");
  EXPECT_EQ(SizeFieldUnitText((1LL << 62) + 1), "4194304.0T");
  EXPECT_EQ(SizeFieldUnitText(9223372036854775807), "8388608.0T");
}

TEST_F(NumberFormatTest, RunsAndPadding) {
  EXPECT_EQ(CharStr('-', 0), "");
  EXPECT_EQ(CharStr('-', 5), "-----");
  EXPECT_EQ(CharStr('=', 255), std::string(255, '='));
  EXPECT_EQ(PadLeft("42", '0', 5), "00042");
  EXPECT_EQ(PadLeftBlank("abcdef", 6), "abcdef");
  EXPECT_EQ(PadLeftBlank("abcdefg", 6), "abcdefg");
  EXPECT_EQ(PadLeftBlank("", 3), "   ");
  EXPECT_EQ(TrimLeadingBlanks("   1.5K "), "1.5K ");
  EXPECT_EQ(TrimLeadingBlanks("   "), "");
}

}  // namespace
