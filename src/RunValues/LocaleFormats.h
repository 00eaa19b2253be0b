// The locale's date and time formats and names, read once per run: they cannot
// change while it lasts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What one step of a parsed date pattern writes.
enum class DateStepKind : std::uint8_t {
  Literal,        // Text
  DateSeparator,  // the run's date separator
  TimeSeparator,  // the run's time separator
  Day,            // numbers, at least Width digits
  Month,
  ShortYear,
  Year,
  Hour,
  TwelveHour,
  Minute,
  Second,
  EraYear,
  EraName,
  DayName,         // Width 1: abbreviated
  MonthName,       // Width 1: abbreviated
  LocaleDayHalf,   // Text: the morning then the afternoon marker, Width the first's length
  DayHalfLetters,  // Text: the morning then the afternoon letters, Width each
  SkipAtMidnight,  // skips the next Width steps when the time is 00:00:00
};

struct DateStep {
  DateStepKind Kind = DateStepKind::Literal;
  std::uint32_t Width = 0;
  std::string Text;
  std::string After;  // constant text written right after the step
};

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
  // The date pattern parsed once, with the run's frozen separators folded in.
  bool PatternParsed = false;
  std::string ParsedPattern;
  std::vector<DateStep> PatternSteps;
};
extern LocaleFormatsRec LocaleFormats;
