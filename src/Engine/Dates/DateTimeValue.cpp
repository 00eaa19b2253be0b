#include "Engine/Dates/DateTimeValue.h"

#include <cmath>
#include <cstdint>

#include "Base/CivilDate.h"

namespace {

using CivilDate::CivilFromDays;
using CivilDate::DaysFromCivil;

const std::int64_t EpochOffset = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

const double InvalidStampDateTime = static_cast<double>(DaysFromCivil(1, 1, 1) - EpochOffset);

bool IsValidCalendar(const Plat::CalendarTime& c) {
  return c.Year >= 1 && c.Year <= 9999 && c.Month >= 1 && c.Month <= 12 && c.Day >= 1 &&
         c.Day <= DaysInMonth(c.Year, c.Month) && c.Hour >= 0 && c.Hour < 24 && c.Minute >= 0 &&
         c.Minute < 60 && c.Second >= 0 && c.Second < 60 && c.Milliseconds >= 0 &&
         c.Milliseconds < 1000;
}

double EncodeDateTime(const Plat::CalendarTime& c) {
  double days = static_cast<double>(DaysFromCivil(c.Year, c.Month, c.Day) - EpochOffset);
  double time =
      (c.Hour * 3600000.0 + c.Minute * 60000.0 + c.Second * 1000.0 + c.Milliseconds) / 86400000.0;
  // Before the epoch the fraction counts away from zero, as the day count does.
  return days >= 0 ? days + time : days - time;
}

Plat::CalendarTime DecodeDateTime(double value) {
  // Values outside the years 1 to 9999 (or not numbers at all) cannot come
  // from a stamp; they decode as the value of an unconvertible one.
  static const double PastLastDay = static_cast<double>(DaysFromCivil(10000, 1, 1) - EpochOffset);
  // (Before the epoch the time of day counts away from zero, so the first
  // day reaches down to one less than its midnight.)
  if (!(value > InvalidStampDateTime - 1 && value < PastLastDay)) value = InvalidStampDateTime;
  Plat::CalendarTime c;
  double whole = std::trunc(value);
  double fraction = std::fabs(value - whole);
  auto milliseconds = static_cast<std::int64_t>(std::llround(fraction * 86400000.0));
  if (milliseconds >= 86400000) {
    milliseconds -= 86400000;
    whole += value >= 0 ? 1 : -1;
  }
  std::int64_t days = static_cast<std::int64_t>(whole) + EpochOffset;
  CivilFromDays(days, c.Year, c.Month, c.Day);
  c.DayOfWeek = static_cast<int>(((days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
  c.Hour = static_cast<int>(milliseconds / 3600000);
  c.Minute = static_cast<int>(milliseconds / 60000 % 60);
  c.Second = static_cast<int>(milliseconds / 1000 % 60);
  c.Milliseconds = static_cast<int>(milliseconds % 1000);
  return c;
}

bool StampToLocalCalendar(const Plat::FileTime& utc, Plat::CalendarTime& calendar) {
  Plat::FileTime local;
  if (Plat::FileTimeToLocal(utc, local) && Plat::FileTimeToCalendar(local, calendar) &&
      IsValidCalendar(calendar))
    return true;
  calendar = DecodeDateTime(InvalidStampDateTime);
  return false;
}

double StampToLocalDateTime(const Plat::FileTime& utc) {
  Plat::CalendarTime calendar;
  return StampToLocalCalendar(utc, calendar) ? EncodeDateTime(calendar) : InvalidStampDateTime;
}

double TodayDate() {
  Plat::CalendarTime now = Plat::LocalNow();
  now.Hour = now.Minute = now.Second = now.Milliseconds = 0;
  return EncodeDateTime(now);
}

double NowTimeOfDay() {
  Plat::CalendarTime now = Plat::LocalNow();
  return (now.Hour * 3600000.0 + now.Minute * 60000.0 + now.Second * 1000.0 + now.Milliseconds) /
         86400000.0;
}
