// Locale and time: file stamps to local calendar time, the clock, and the
// user's locale items (date and time pictures, names of days and months, eras).
#pragma once

#include <string>

#include "Platform/Basics.h"

namespace Plat {

// SYSTEMTIME.
struct CalendarTime {
  int Year = 0;
  int Month = 0;      // 1..12
  int DayOfWeek = 0;  // 0 = Sunday
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Milliseconds = 0;
};
// FileTimeToLocalFileTime.
bool FileTimeToLocal(const FileTime& utc, FileTime& local);
// FileTimeToSystemTime.
bool FileTimeToCalendar(const FileTime& time, CalendarTime& calendar);
// GetLocalTime.
CalendarTime LocalNow();

// ---------------------------------------------------------------- locale

// GetLocaleInfoA items of the user's default locale.
enum class LocaleItem {
  ShortDate,      // LOCALE_SSHORTDATE, e.g. "M/d/yyyy"
  LongDate,       // LOCALE_SLONGDATE
  LongTime,       // LOCALE_STIMEFORMAT, e.g. "h:mm:ss tt"
  DateSeparator,  // LOCALE_SDATE
  TimeSeparator,  // LOCALE_STIME
  DateOrder,      // LOCALE_IDATE: "0" M-D-Y, "1" D-M-Y, "2" Y-M-D
  AmMarker,       // LOCALE_S1159
  PmMarker,       // LOCALE_S2359
  DayName1,       // LOCALE_SDAYNAME1 (Monday) ... DayName7 (Sunday)
  DayName2,
  DayName3,
  DayName4,
  DayName5,
  DayName6,
  DayName7,
  AbbrevDayName1,  // LOCALE_SABBREVDAYNAME1 (Mon) ... 7 (Sun)
  AbbrevDayName2,
  AbbrevDayName3,
  AbbrevDayName4,
  AbbrevDayName5,
  AbbrevDayName6,
  AbbrevDayName7,
  MonthName1,  // LOCALE_SMONTHNAME1 ... 12
  MonthName2,
  MonthName3,
  MonthName4,
  MonthName5,
  MonthName6,
  MonthName7,
  MonthName8,
  MonthName9,
  MonthName10,
  MonthName11,
  MonthName12,
  AbbrevMonthName1,  // LOCALE_SABBREVMONTHNAME1 ... 12
  AbbrevMonthName2,
  AbbrevMonthName3,
  AbbrevMonthName4,
  AbbrevMonthName5,
  AbbrevMonthName6,
  AbbrevMonthName7,
  AbbrevMonthName8,
  AbbrevMonthName9,
  AbbrevMonthName10,
  AbbrevMonthName11,
  AbbrevMonthName12,
};
std::string LocaleInfo(LocaleItem item);

// Era name and year of the era of the user's calendar for a date (the
// Gregorian calendar has one era, "A.D." style, and the year itself).
std::string EraName(const CalendarTime& date);
int EraYear(const CalendarTime& date);

}  // namespace Plat
