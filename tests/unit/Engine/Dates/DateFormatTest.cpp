// The date display pattern: every specifier, the minutes and 12-hour rules,
// separators, quoted text and the locale formats.
#include <cmath>
#include <string>

#include "RunValues/LocaleFormats.h"
#include "RunValues/Options.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Dates/DateTimeValue.h"
#include "TestWorld.h"

namespace {

double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return EncodeDateTime(Moment(year, month, day, hour, minute, second));
}

class DateFormatTest : public TestWorld {
 protected:
  const double afternoon = At(2024, 3, 5, 14, 7, 9);  // a Tuesday
  const double morning = At(2024, 11, 20, 9, 5, 3);
};

TEST_F(DateFormatTest, WholeDateUsesTheLocaleFormats) {
  EXPECT_EQ(FormatDateTime("c", afternoon), "3/5/2024 2:07:09 PM");
  EXPECT_EQ(FormatDateTime("", afternoon), "3/5/2024 2:07:09 PM");
  EXPECT_EQ(FormatDateTime("c", At(2024, 3, 5)), "3/5/2024");  // no time at midnight
  EXPECT_EQ(FormatDateTime("ddddd", afternoon), "3/5/2024");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon), "Tuesday, March 5, 2024");
  EXPECT_EQ(FormatDateTime("t", afternoon), "2:07 PM");
  EXPECT_EQ(FormatDateTime("tt", morning), "9:05:03 AM");

  Sim::SetLocale(Plat::LocaleItem::ShortDate, "dd.MM.yyyy");
  Sim::SetLocale(Plat::LocaleItem::LongTime, "HH:mm:ss");
  LocaleFormats = {};  // the locale is read once per run: this is another run
  EXPECT_EQ(FormatDateTime("c", morning), "20.11.2024 09:05:03");
  EXPECT_EQ(FormatDateTime("t", morning), "09:05");
}

TEST_F(DateFormatTest, DateSpecifiers) {
  EXPECT_EQ(FormatDateTime("d dd ddd dddd", morning), "20 20 Wed Wednesday");
  EXPECT_EQ(FormatDateTime("d dd", afternoon), "5 05");
  EXPECT_EQ(FormatDateTime("m mm mmm mmmm mmmmm", afternoon), "3 03 Mar March March");
  EXPECT_EQ(FormatDateTime("y yy yyy yyyy", afternoon), "24 24 2024 2024");
  EXPECT_EQ(FormatDateTime("aaa aaaa", afternoon), "Tue Tuesday");
  EXPECT_EQ(FormatDateTime("e g", afternoon), "2024 A.D.");
  EXPECT_EQ(FormatDateTime("DD-MMM-YY", afternoon), "05-Mar-24");  // any letter case
}

TEST_F(DateFormatTest, TimeSpecifiersAndTheMinutesRule) {
  EXPECT_EQ(FormatDateTime("h:n:s", morning), "9:5:3");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", morning), "09:05:03");
  EXPECT_EQ(FormatDateTime("hhh:nnn:sss", morning), "09:05:03");
  // m right after an h is minutes, whatever stands between them.
  EXPECT_EQ(FormatDateTime("hh:mm", afternoon), "14:07");
  EXPECT_EQ(FormatDateTime("h m", afternoon), "14 7");
  EXPECT_EQ(FormatDateTime("h 'x' mm", afternoon), "14 x 07");
  EXPECT_EQ(FormatDateTime("mm/dd hh", afternoon), "03/05 14");
  EXPECT_EQ(FormatDateTime("hh dd mm", afternoon), "14 05 03");
  // Month names are never minutes.
  EXPECT_EQ(FormatDateTime("h mmm", afternoon), "14 Mar");
  EXPECT_EQ(FormatDateTime("hh:mmmm", afternoon), "14:March");
}

TEST_F(DateFormatTest, TwelveHourClockWhenAMarkerFollows) {
  EXPECT_EQ(FormatDateTime("h:nn am/pm", afternoon), "2:07 pm");
  EXPECT_EQ(FormatDateTime("h:nn AM/PM", morning), "9:05 AM");
  EXPECT_EQ(FormatDateTime("h:nn Am/pM", afternoon), "2:07 pM");  // letters as written
  EXPECT_EQ(FormatDateTime("hh a/p", afternoon), "02 p");
  EXPECT_EQ(FormatDateTime("hh A/P", morning), "09 A");
  EXPECT_EQ(FormatDateTime("h ampm", afternoon), "2 PM");
  EXPECT_EQ(FormatDateTime("h am/pm", At(2024, 1, 1, 0, 30)), "12 am");
  EXPECT_EQ(FormatDateTime("h am/pm", At(2024, 1, 1, 12, 30)), "12 pm");
  // Only up to the next h: the first hour stays on the 24-hour clock.
  EXPECT_EQ(FormatDateTime("hh (hh am/pm)", afternoon), "14 (02 pm)");
  // A quoted marker does not count.
  EXPECT_EQ(FormatDateTime("h \"am/pm\"", afternoon), "14 am/pm");
  Sim::SetLocale(Plat::LocaleItem::PmMarker, "nachm.");
  LocaleFormats = {};
  EXPECT_EQ(FormatDateTime("h ampm", afternoon), "2 nachm.");
}

TEST_F(DateFormatTest, SeparatorsQuotesAndOtherCharacters) {
  EXPECT_EQ(FormatDateTime("m/d/yy hh:nn", afternoon), "3/5/24 14:07");
  StartupOptions().DateSeparator.assign(1, '-');
  StartupOptions().TimeSeparator.assign(1, '.');
  LocaleFormats.PatternParsed = false;  // in a run the separators are settled before any date
  EXPECT_EQ(FormatDateTime("m/d/yy hh:nn", afternoon), "3-5-24 14.07");
  EXPECT_EQ(FormatDateTime("c", afternoon), "3-5-2024 2.07.09 PM");
  EXPECT_EQ(FormatDateTime("\"Date: \"d' of 'mmmm", afternoon), "Date: 5 of March");
  EXPECT_EQ(FormatDateTime("'d/m' \"it's\"", afternoon), "d/m it's");
  EXPECT_EQ(FormatDateTime("[d] #x", afternoon), "[5] #x");
  EXPECT_EQ(FormatDateTime("d 'unclosed", afternoon), "5 unclosed");
}

// Text around a whole date stays when its time is left out at midnight, and
// the time's own text goes with it, however the whole dates nest; a date
// longer than the room it is composed in comes out whole.
TEST_F(DateFormatTest, TextAroundTheMidnightSkipStays) {
  const double midnight = At(2024, 3, 5);
  EXPECT_EQ(FormatDateTime("'<'c'>'", midnight), "<3/5/2024>");
  EXPECT_EQ(FormatDateTime("'<'c'>'", afternoon), "<3/5/2024 2:07:09 PM>");
  Sim::SetLocale(Plat::LocaleItem::ShortDate, "d/c");
  LocaleFormats = {};
  EXPECT_EQ(FormatDateTime("c.", midnight), "5/5/.");
  EXPECT_EQ(FormatDateTime("c.", afternoon), "5/5/  2:07:09 PM 2:07:09 PM.");
  Sim::SetLocale(Plat::LocaleItem::ShortDate, "d");
  Sim::SetLocale(Plat::LocaleItem::LongTime, "h'h'(c)");
  LocaleFormats = {};
  EXPECT_EQ(FormatDateTime("c.", midnight), "5.");
  EXPECT_EQ(FormatDateTime("c.", afternoon), "5 14h(5 14h( )).");
  const std::string longText(300, 'x');
  EXPECT_EQ(FormatDateTime("dd'" + longText + "'mm" + longText, afternoon),
            "05" + longText + "03" + longText);
}

TEST_F(DateFormatTest, LocaleFormatsNestAtMostTwoLevels) {
  Sim::SetLocale(Plat::LocaleItem::ShortDate, "[ddddd]");
  LocaleFormats = {};
  EXPECT_EQ(FormatDateTime("ddddd", afternoon), "[[]]");
  Sim::SetLocale(Plat::LocaleItem::ShortDate, "<dddddd>");
  Sim::SetLocale(Plat::LocaleItem::LongDate, "d mmmm");
  LocaleFormats = {};
  EXPECT_EQ(FormatDateTime("ddddd", afternoon), "<5 March>");
}

TEST_F(DateFormatTest, UnconvertibleStampsShowTheFirstDay) {
  EXPECT_EQ(FormatDateTime("c", InvalidStampDateTime), "1/1/0001");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", InvalidStampDateTime), "0001-01-01 00:00");
  // Values no stamp can produce are shown the same way instead of overflowing.
  for (double value : {1e300, -1e300, InvalidStampDateTime - 1, std::nan("")})
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", value), "0001-01-01 00:00") << value;
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", At(1, 1, 1, 12, 30)), "0001-01-01 12:30");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", At(1899, 12, 29, 6, 0)), "1899-12-29 06:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", At(9999, 12, 31, 23, 59)), "9999-12-31 23:59");
}

}  // namespace
