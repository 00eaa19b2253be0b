// Byte counts with thousands separators, K/M/G sizes, runs and padding.
#include <cstdint>
#include <vector>

#include "RunValues/Options.h"
#include "Format/NumberFormat.h"
#include "Format/SizeText.h"
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
  StartupOptions().ThousandsSeparator = false;
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
}

// The size field moves to the next unit rather than take a fourth digit
// before the point.
TEST_F(NumberFormatTest, SizeFieldKeepsToThreeDigitsBeforeThePoint) {
  const struct {
    std::int64_t Value;
    const char* Text;
  } rows[] = {
      {1023, "1023"},
      {1023948, "999.9K"},
      {1023949, "1.0M"},
      {1048575, "1.0M"},
      {1000LL << 30, "1.0T"},
      {999LL << 40, "999.0T"},
      {1000LL << 40, "1.0P"},
      {1LL << 60, "1.0E"},
      {(1LL << 62) + 1, "4.0E"},
      {9223372036854775807, "8.0E"},
  };
  for (const auto& row : rows) EXPECT_EQ(SizeFieldUnitText(row.Value), row.Text) << row.Value;
}

// The listing's allocation-free size field keeps to six columns and writes
// what the text functions write wherever their text fits: every value up to
// 200,000, each unit's boundaries and .25/.75 ties, and a geometric walk up
// to the largest value.
TEST_F(NumberFormatTest, PaddedSizeFieldFitsAndMatchesTheSizeText) {
  std::vector<std::int64_t> values = {INT64_MAX, INT64_MAX - 1};
  for (std::int64_t value = 0; value <= 200000; ++value) values.push_back(value);
  for (int shift : {10, 20, 30, 40, 50}) {
    const std::int64_t unit = std::int64_t{1} << shift;
    for (std::int64_t whole : {1, 2, 3, 999, 1000, 1023, 1024})
      for (std::int64_t part : {std::int64_t{0}, unit / 4, unit / 2, 3 * unit / 4, unit - 1})
        for (std::int64_t nudge : {-1, 0, 1}) values.push_back(whole * unit + part + nudge);
  }
  for (double value = 1000; value < 9.2e18; value = value * 1.0007 + 1) {
    values.push_back(static_cast<std::int64_t>(value));
    values.push_back(static_cast<std::int64_t>(value) + 1);
  }
  SizeFieldRoom room;
  for (std::int64_t value : values) {
    const std::string_view field = PaddedSizeFieldUnitText(value, room);
    ASSERT_EQ(field.size(), 6u) << value;
    const std::string text = ShortSizeText(value, 1);
    if (text.size() <= 6) ASSERT_EQ(field, PadLeftBlank(text, 6)) << value;
  }
  EXPECT_EQ(PaddedSizeFieldUnitText(-1023, room), " -1023");
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
