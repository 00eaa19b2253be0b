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

// The listing's allocation-free size field: each unit's ties (to the even
// tenth) and its last value before the next unit, then six columns for every
// value up to 200,000, each unit's boundaries, and a geometric walk up to the
// largest value.
TEST_F(NumberFormatTest, PaddedSizeFieldKeepsToSixColumns) {
  const struct {
    std::int64_t Value;
    const char* Field;
  } rows[] = {
      {-1023, " -1023"},
      {-1, "    -1"},
      {0, "     0"},
      {1023, "  1023"},
      {1024, "  1.0K"},
      {1280, "  1.2K"},
      {1281, "  1.3K"},
      {1792, "  1.8K"},
      {1310720, "  1.2M"},
      {1835008, "  1.8M"},
      {1342177280, "  1.2G"},
      {1879048192, "  1.8G"},
      {1374389534720, "  1.2T"},
      {1924145348608, "  1.8T"},
      {1407374883553280, "  1.2P"},
      {1970324836974592, "  1.8P"},
      {1441151880758558720, "  1.2E"},
      {2017612633061982208, "  1.8E"},
      {1023948, "999.9K"},
      {1023949, "  1.0M"},
      {1048523571, "999.9M"},
      {1048523572, "  1.0G"},
      {1073688136908, "999.9G"},
      {1073688136909, "  1.0T"},
      {1099456652194611, "999.9T"},
      {1099456652194612, "  1.0P"},
      {1125843611847281855, "999.9P"},
      {1125843611847281856, "  1.0E"},
      {9223372036854775807, "  8.0E"},
  };
  SizeFieldRoom room;
  for (const auto& row : rows) EXPECT_EQ(PaddedSizeFieldUnitText(row.Value, room), row.Field) << row.Value;

  std::vector<std::int64_t> values = {INT64_MAX - 1};
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
  for (std::int64_t value : values) ASSERT_EQ(PaddedSizeFieldUnitText(value, room).size(), 6u) << value;
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
