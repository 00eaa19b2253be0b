// Date-time values: double-precision days since 30 December 1899 00:00 local
// time, the fraction being the time of day.
#pragma once

#include "Platform/LocaleTime.h"

// Calendar fields to a date-time value (milliseconds included); the fields
// must be valid.
double EncodeDateTime(const Plat::CalendarTime& calendar);
// Whether the fields form a valid date and time.
bool IsValidCalendar(const Plat::CalendarTime& calendar);
// A date-time value back to calendar fields (day of week included).
Plat::CalendarTime DecodeDateTime(double value);
// A file system stamp (UTC) as a local date-time; 1 January 0001 00:00 when it
// cannot be converted.
double StampToLocalDateTime(const Plat::FileTime& utc);
// The same as calendar fields, sparing the trip through a value; false (with
// the fields of 1 January 0001 00:00) when the stamp cannot be converted.
bool StampToLocalCalendar(const Plat::FileTime& utc, Plat::CalendarTime& calendar);
// Today at 00:00, and the current time of day (date part 0), local time.
double TodayDate();
double NowTimeOfDay();

// The value used for stamps that cannot be converted: 1 January 0001 00:00.
extern const double InvalidStampDateTime;
