// The locale's date and time formats and names, read once per run: they cannot
// change while it lasts.
#pragma once

#include <array>
#include <string>

struct LocaleFormatsRec {
  bool Loaded = false;                       // the fields below hold the locale's texts
  std::string ShortDate;                     // short date format, as a pattern
  std::string LongDate;                      // long date format, as a pattern
  std::string LongTime;                      // long time format, as a pattern
  std::string ShortTime;                     // long time format without its seconds
  std::array<std::string, 7> DayNames;       // full day names, Sunday first
  std::array<std::string, 7> AbbrevDays;     // abbreviated day names, Sunday first
  std::array<std::string, 12> MonthNames;    // full month names, January first
  std::array<std::string, 12> AbbrevMonths;  // abbreviated month names
  std::string AmMarker;                      // marker for hours 0..11
  std::string PmMarker;                      // marker for hours 12..23
};
extern LocaleFormatsRec LocaleFormats;
