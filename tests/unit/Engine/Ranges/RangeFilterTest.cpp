#include <string>

#include "RunValues/Options.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "Engine/Ranges/RangeFilters.h"
#include "TestWorld.h"

namespace {

double Date(int year, int month, int day) { return EncodeDateTime(Moment(year, month, day)); }
double Time(int hour, int minute, int second = 0) {
  return (hour * 3600 + minute * 60 + second) / 86400.0;
}

class RangeFilterTest : public TestWorld {
 protected:
  void SetUp() override {
    TestWorld::SetUp();
    Sim::SetNow(Moment(2026, 5, 20, 14, 30));
    Sim::SetLocale(Plat::LocaleItem::DateOrder, "1");  // day-month-year
  }
};

// ---------------------------------------------------------------- dates

TEST_F(RangeFilterTest, RelativeDateCountsBackFromToday) {
  EXPECT_TRUE(ParseDateRange("[D-7]"));
  EXPECT_EQ(StartupOptions().DateLow, Date(2026, 5, 13));
  EXPECT_EQ(StartupOptions().DateHigh, Date(2026, 5, 20));
  EXPECT_EQ(StartupOptions().DateRangeStamp, NoStamp);
  EXPECT_EQ(StartupOptions().DateSeparator, "/");  // only absolute dates change it
}

TEST_F(RangeFilterTest, AbsoluteDateUpToToday) {
  EXPECT_TRUE(ParseDateRange("[D1-6-98]"));
  EXPECT_EQ(StartupOptions().DateLow,
            Date(2098, 6, 1));  // two-digit years join the current century
  EXPECT_EQ(StartupOptions().DateHigh, Date(2026, 5, 20));
  EXPECT_EQ(StartupOptions().DateSeparator, "-");
}

TEST_F(RangeFilterTest, RelativeUpperBoundCountsFromTheLowerBound) {
  EXPECT_TRUE(ParseDateRange("[D1-6-1998,+6]"));
  EXPECT_EQ(StartupOptions().DateLow, Date(1998, 6, 1));
  EXPECT_EQ(StartupOptions().DateHigh, Date(1998, 6, 7));
  EXPECT_TRUE(ParseDateRange("[DC-14,+7]"));
  EXPECT_EQ(StartupOptions().DateLow, Date(2026, 5, 6));
  EXPECT_EQ(StartupOptions().DateHigh, Date(2026, 5, 13));
  EXPECT_EQ(StartupOptions().DateRangeStamp, Creation);
  EXPECT_TRUE(ParseDateRange("[D--2]"));  // the count may carry its own sign
  EXPECT_EQ(StartupOptions().DateLow, Date(2026, 5, 22));
}

TEST_F(RangeFilterTest, ShortDatesFollowTheLocaleOrder) {
  EXPECT_TRUE(ParseDateRange("[D1-6]"));
  EXPECT_EQ(StartupOptions().DateLow, Date(2026, 6, 1));
  EXPECT_TRUE(ParseDateRange("[D1-6-5]"));
  EXPECT_EQ(StartupOptions().DateLow, Date(2005, 6, 1));
  Sim::SetLocale(Plat::LocaleItem::DateOrder, "0");
  EXPECT_TRUE(ParseDateRange("[D6-1-1998]"));
  EXPECT_EQ(StartupOptions().DateLow, Date(1998, 6, 1));
  EXPECT_TRUE(ParseDateRange("[D6-1]"));
  EXPECT_EQ(StartupOptions().DateLow, Date(2026, 6, 1));
  Sim::SetLocale(Plat::LocaleItem::DateOrder, "2");
  EXPECT_TRUE(ParseDateRange("[D1998-6-1,1998-6-30-]"));  // one "-" may follow a date
  EXPECT_EQ(StartupOptions().DateLow, Date(1998, 6, 1));
  EXPECT_EQ(StartupOptions().DateHigh, Date(1998, 6, 30));
}

TEST_F(RangeFilterTest, StampLettersMayStandAnywhereOutsideABound) {
  EXPECT_TRUE(ParseDateRange("[DAW-1]"));
  EXPECT_EQ(StartupOptions().DateRangeStamp, LastWrite);
  EXPECT_TRUE(ParseDateRange("[DA-1]"));
  EXPECT_EQ(StartupOptions().DateRangeStamp, LastAccess);
  EXPECT_TRUE(ParseDateRange("[d-1]"));
  EXPECT_EQ(StartupOptions().DateRangeStamp, NoStamp);  // reset by every date switch
}

TEST_F(RangeFilterTest, EveryMonthHasItsDaysAndFebruaryItsLeapDay) {
  for (const char* text : {"[D29-2-2024]", "[D31-1-2024]", "[D30-4-2024]", "[D31-12-2023]",
                           "[D29-2-2000]"})
    EXPECT_TRUE(ParseDateRange(text)) << text;
  for (const char* text : {"[D30-2-2024]", "[D31-4-2024]", "[D29-2-1900]"})
    EXPECT_FALSE(ParseDateRange(text)) << text;
}

TEST_F(RangeFilterTest, RejectedDates) {
  for (const char* text : {"[D1-6-98", "[D]", "[DX1-1-98]", "[D32-1-98]", "[D1-13-98]",
                           "[D29-2-2026]", "[D1-6-98x]", "[D1-6-98--]", "[D1]", "[D1-6-98,x]",
                           "[D-x]", "[D-]", "[D-99999999999]", "[D,]", "[D.1-1-98]", "D-7"})
    EXPECT_FALSE(ParseDateRange(text)) << text;
}

TEST_F(RangeFilterTest, EmptyUpperBoundKeepsItsPreviousValue) {
  EXPECT_TRUE(ParseDateRange("[D1-1-98,]"));
  EXPECT_EQ(StartupOptions().DateHigh, 0);
}

TEST_F(RangeFilterTest, StopAfterTheClosingBracketAcceptsWithoutEndSteps) {
  StartupOptions().DateHigh = 5;
  EXPECT_TRUE(ParseDateRange("[D-7]X"));
  EXPECT_EQ(StartupOptions().DateHigh, 5);  // no default upper bound
  EXPECT_TRUE(ParseDateRange("[D-7]9"));    // the bound after "]" has no end
  EXPECT_FALSE(ParseDateRange("[D-7X]"));
}

TEST_F(RangeFilterTest, LongSwitchIsReadToItsEnd) {
  EXPECT_TRUE(ParseDateRange("[D" + std::string(300, 'W') + "-7]"));
  EXPECT_EQ(StartupOptions().DateLow, Date(2026, 5, 13));
  EXPECT_FALSE(ParseDateRange("[D-7" + std::string(300, 'W')));
}

TEST_F(RangeFilterTest, DateFilterComparesWholeDaysInclusively) {
  ASSERT_TRUE(ParseDateRange("[D-7]"));
  StartupOptions().DateRangeOn = true;
  EXPECT_TRUE(PassesDateTimeFilters(EncodeDateTime(Moment(2026, 5, 13, 0, 0))));
  EXPECT_TRUE(PassesDateTimeFilters(EncodeDateTime(Moment(2026, 5, 20, 23, 59, 59))));
  EXPECT_FALSE(PassesDateTimeFilters(EncodeDateTime(Moment(2026, 5, 12, 23, 59, 59))));
  EXPECT_FALSE(PassesDateTimeFilters(EncodeDateTime(Moment(2026, 5, 21))));
  EXPECT_FALSE(PassesDateTimeFilters(InvalidStampDateTime));
}

// ---------------------------------------------------------------- times

TEST_F(RangeFilterTest, AbsoluteTimes) {
  StartupOptions().TimeSeparator = ".";
  EXPECT_TRUE(ParseTimeRange("[T9:00,17:30]"));
  EXPECT_EQ(StartupOptions().TimeLow, Time(9, 0));
  EXPECT_EQ(StartupOptions().TimeHigh, Time(17, 30));
  EXPECT_EQ(StartupOptions().TimeSeparator, ":");
  EXPECT_TRUE(ParseTimeRange("[T9,17:30:15]"));
  EXPECT_EQ(StartupOptions().TimeLow, Time(9, 0));
  EXPECT_EQ(StartupOptions().TimeHigh, Time(17, 30, 15));
  EXPECT_TRUE(ParseTimeRange("[T9:00]"));
  EXPECT_EQ(StartupOptions().TimeHigh, Time(14, 30));  // up to now
}

TEST_F(RangeFilterTest, TimesWithMarkers) {
  EXPECT_TRUE(ParseTimeRange("[T9PM,11:30pm]"));
  EXPECT_EQ(StartupOptions().TimeLow, Time(21, 0));
  EXPECT_EQ(StartupOptions().TimeHigh, Time(23, 30));
  EXPECT_TRUE(ParseTimeRange("[T12AM,12PM]"));
  EXPECT_EQ(StartupOptions().TimeLow, Time(0, 0));
  EXPECT_EQ(StartupOptions().TimeHigh, Time(12, 0));
  Sim::SetLocale(Plat::LocaleItem::PmMarker, "NM");
  EXPECT_TRUE(ParseTimeRange("[T1NM,2PM]"));
  EXPECT_EQ(StartupOptions().TimeLow, Time(13, 0));
  EXPECT_EQ(StartupOptions().TimeHigh, Time(14, 0));
}

TEST_F(RangeFilterTest, RejectedTimes) {
  for (const char* text : {"[T13PM]", "[T0AM]", "[T24:00]", "[T9:60]", "[T9:00:60]", "[T9:]",
                           "[T9:00X]", "[T9.30]", "[T]", "[T9:00", "[T-x]", "[TS9]"})
    EXPECT_FALSE(ParseTimeRange(text)) << text;
}

TEST_F(RangeFilterTest, RelativeTimes) {
  EXPECT_TRUE(ParseTimeRange("[T-60]"));
  EXPECT_DOUBLE_EQ(StartupOptions().TimeLow, Time(13, 30));
  EXPECT_DOUBLE_EQ(StartupOptions().TimeHigh, Time(14, 30));
  EXPECT_TRUE(ParseTimeRange("[TC9:00,+90]"));
  EXPECT_DOUBLE_EQ(StartupOptions().TimeHigh, Time(10, 30));
  EXPECT_EQ(StartupOptions().TimeRangeStamp, Creation);
}

TEST_F(RangeFilterTest, RelativeTimesStopAtTheDaysEdges) {
  Sim::SetNow(Moment(2026, 5, 20, 0, 10));
  EXPECT_TRUE(ParseTimeRange("[T-30]"));
  EXPECT_EQ(StartupOptions().TimeLow, 0);
  EXPECT_TRUE(ParseTimeRange("[T23:50,+30]"));
  EXPECT_DOUBLE_EQ(StartupOptions().TimeHigh, Time(23, 59));
}

TEST_F(RangeFilterTest, TimeFilterComparesMinutesIgnoringSeconds) {
  ASSERT_TRUE(ParseTimeRange("[T9:00,17:30]"));
  StartupOptions().TimeRangeOn = true;
  double day = Date(1998, 6, 1);
  EXPECT_TRUE(PassesDateTimeFilters(day + Time(9, 0)));
  EXPECT_TRUE(PassesDateTimeFilters(day + Time(17, 30, 59)));
  EXPECT_FALSE(PassesDateTimeFilters(day + Time(17, 31)));
  EXPECT_FALSE(PassesDateTimeFilters(day + Time(8, 59, 59)));
  ASSERT_TRUE(ParseTimeRange("[T22:00,06:00]"));  // no wrap past midnight
  EXPECT_FALSE(PassesDateTimeFilters(day + Time(23, 0)));
  EXPECT_FALSE(PassesDateTimeFilters(day + Time(5, 0)));
  // A quarter of a millisecond before midnight rounds to the next midnight: minute 0.
  ASSERT_TRUE(ParseTimeRange("[T0:00,0:00]"));
  EXPECT_TRUE(PassesDateTimeFilters(day + 1 - 0.25 / 86400000.0));
  EXPECT_FALSE(PassesDateTimeFilters(day + 1 - 1 / 86400.0));
}

TEST_F(RangeFilterTest, DateAndTimeFiltersTogether) {
  ASSERT_TRUE(ParseDateRange("[D1-6-98,2-6-98]"));
  ASSERT_TRUE(ParseTimeRange("[T9:00,10:00]"));
  StartupOptions().DateRangeOn = StartupOptions().TimeRangeOn = true;
  EXPECT_TRUE(PassesDateTimeFilters(EncodeDateTime(Moment(2098, 6, 2, 9, 30))));
  EXPECT_FALSE(PassesDateTimeFilters(EncodeDateTime(Moment(2098, 6, 2, 11, 0))));
  EXPECT_FALSE(PassesDateTimeFilters(EncodeDateTime(Moment(2098, 6, 3, 9, 30))));
}

// ---------------------------------------------------------------- sizes

TEST_F(RangeFilterTest, SizesWithUnits) {
  EXPECT_TRUE(ParseSizeRange("[S1M,2M]"));
  EXPECT_EQ(StartupOptions().SizeLow, 1048576);
  EXPECT_EQ(StartupOptions().SizeHigh, 2097152);
  EXPECT_FALSE(StartupOptions().SizeOpenEnded);
  EXPECT_TRUE(ParseSizeRange("[S10k]"));
  EXPECT_EQ(StartupOptions().SizeLow, 10240);
  EXPECT_EQ(StartupOptions().SizeHigh, 2097152);  // kept, but no longer tested
  EXPECT_TRUE(StartupOptions().SizeOpenEnded);
  EXPECT_TRUE(ParseSizeRange("[S1G,1T]"));
  EXPECT_EQ(StartupOptions().SizeLow, std::int64_t{1} << 30);
  EXPECT_EQ(StartupOptions().SizeHigh, std::int64_t{1} << 40);
  EXPECT_TRUE(ParseSizeRange("[S,0]"));
  EXPECT_EQ(StartupOptions().SizeHigh, 0);
}

TEST_F(RangeFilterTest, SizesAreRoundedToEvenBeforeTheUnit) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"[S1.5M]", 2097152}, {"[S0.5K]", 0},   {"[S2.5K]", 2048},
      {"[S3.5]", 4},        {"[S1E3]", 1000}, {"[S1.25e+1K]", 12288}};
  for (const auto& [text, low] : cases) {
    EXPECT_TRUE(ParseSizeRange(text)) << text;
    EXPECT_EQ(StartupOptions().SizeLow, low) << text;
  }
}

TEST_F(RangeFilterTest, RelativeSizes) {
  EXPECT_TRUE(ParseSizeRange("[S1M,+1M]"));
  EXPECT_EQ(StartupOptions().SizeHigh, 2097152);
  EXPECT_TRUE(ParseSizeRange("[S+5K]"));  // a relative lower bound counts from 0
  EXPECT_EQ(StartupOptions().SizeLow, 5120);
  EXPECT_TRUE(ParseSizeRange("[S10K,-5K]"));
  EXPECT_EQ(StartupOptions().SizeHigh, 5120);
}

TEST_F(RangeFilterTest, SizesOutsideSixtyFourBitsAreRejected) {
  EXPECT_TRUE(ParseSizeRange("[S9223372036854775807]"));
  EXPECT_EQ(StartupOptions().SizeLow, INT64_MAX);
  // 2^63 itself, written as a decimal fraction or with an exponent, is one too
  // many (also where a letter after "]" skips the end checks).
  for (const char* text : {"[S9223372036854775808]", "[S9223372036854775808.0]",
                           "[S9.223372036854775808E18]C", "[S1E19]", "[S1E400]", "[S8388608T]",
                           "[S1,+9223372036854775807]"})
    EXPECT_FALSE(ParseSizeRange(text)) << text;
  EXPECT_TRUE(ParseSizeRange("[S8388607T]"));
}

TEST_F(RangeFilterTest, RejectedSizes) {
  for (const char* text : {"[S5K,-10K]", "[S-5K]", "[S]", "[S5K", "[SA5K]", "[S5X]", "[S.5K]",
                           "[S5 ]", "[SK]", "[S1E]", "[S0x10]", "[S5KK]"})
    EXPECT_FALSE(ParseSizeRange(text)) << text;
  EXPECT_TRUE(ParseSizeRange("[S5K]C"));  // a stamp letter after "]" only stops
}

TEST_F(RangeFilterTest, ARefusedSwitchLeavesEveryBoundAsItWas) {
  ASSERT_TRUE(ParseSizeRange("[S1K,2K]"));
  EXPECT_FALSE(ParseSizeRange("[S5K,x]"));
  EXPECT_EQ(StartupOptions().SizeLow, 1024);
  EXPECT_EQ(StartupOptions().SizeHigh, 2048);
  EXPECT_FALSE(ParseDateRange("[D1-6-98,x]"));
  EXPECT_EQ(StartupOptions().DateLow, 0);
  EXPECT_EQ(StartupOptions().DateSeparator, "/");
}

TEST_F(RangeFilterTest, SizeFilterBounds) {
  ASSERT_TRUE(ParseSizeRange("[S1M,2M]"));
  StartupOptions().SizeRangeOn = true;
  EXPECT_TRUE(PassesSizeFilter(1048576));
  EXPECT_TRUE(PassesSizeFilter(2097152));
  EXPECT_FALSE(PassesSizeFilter(1048575));
  EXPECT_FALSE(PassesSizeFilter(2097153));
  ASSERT_TRUE(ParseSizeRange("[S10K]"));
  EXPECT_TRUE(PassesSizeFilter(INT64_MAX));
  EXPECT_FALSE(PassesSizeFilter(0));  // directories have size 0
  StartupOptions().SizeRangeOn = false;
  EXPECT_TRUE(PassesSizeFilter(0));
}

}  // namespace
