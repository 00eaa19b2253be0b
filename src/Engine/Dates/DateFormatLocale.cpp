// Locale formats come in the system's own picture notation, which differs from
// the display pattern in one letter: there "t" and "tt" stand for the AM/PM
// marker. Read as our "t"/"tt" they would name the time format inside itself,
// so they are rewritten to "ampm" before use.
#include "Engine/Dates/DateFormatLocale.h"

#include "RunValues/LocaleFormats.h"
#include "RunValues/Options.h"
#include "Platform/LocaleTime.h"

namespace {

using Plat::LocaleItem;

LocaleItem Offset(LocaleItem first, int index) {
  return static_cast<LocaleItem>(static_cast<int>(first) + index);
}

bool IsQuote(char character) { return character == '\'' || character == '"'; }
bool IsLetter(char character) {
  return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
}

// Index just past the quoted text that starts at `at`.
std::size_t PastQuote(const std::string& text, std::size_t at) {
  std::size_t close = text.find(text[at], at + 1);
  return close == std::string::npos ? text.size() : close + 1;
}

std::string MarkersAsAmPm(const std::string& format) {
  std::string pattern;
  std::size_t at = 0;
  while (at < format.size()) {
    char character = format[at];
    if (IsQuote(character)) {
      std::size_t end = PastQuote(format, at);
      pattern.append(format, at, end - at);
      at = end;
    } else if (character == 't' || character == 'T') {
      while (at < format.size() && (format[at] == 't' || format[at] == 'T')) ++at;
      pattern += "ampm";
    } else {
      pattern += character;
      ++at;
    }
  }
  return pattern;
}

// Drops the seconds and the separator in front of them ("h:mm:ss ampm" ->
// "h:mm ampm").
std::string WithoutSeconds(const std::string& pattern) {
  std::size_t at = 0;
  while (at < pattern.size()) {
    char character = pattern[at];
    if (IsQuote(character)) {
      at = PastQuote(pattern, at);
      continue;
    }
    if (character == 's' || character == 'S') {
      std::size_t end = at;
      while (end < pattern.size() && (pattern[end] == 's' || pattern[end] == 'S')) ++end;
      std::size_t start = at;
      while (start > 0 && !IsLetter(pattern[start - 1]) && !IsQuote(pattern[start - 1])) --start;
      return pattern.substr(0, start) + pattern.substr(end);
    }
    ++at;
  }
  return pattern;
}

// Reads every format and name at the first use of any.
const LocaleFormatsRec& Formats() {
  LocaleFormatsRec& formats = LocaleFormats;
  if (formats.Loaded) return formats;
  formats.ShortDate = Plat::LocaleInfo(LocaleItem::ShortDate);
  formats.LongDate = Plat::LocaleInfo(LocaleItem::LongDate);
  formats.LongTime = MarkersAsAmPm(Plat::LocaleInfo(LocaleItem::LongTime));
  formats.ShortTime = WithoutSeconds(formats.LongTime);
  // The locale numbers the days from Monday; the names here start on Sunday.
  for (int day = 0; day < 7; ++day) {
    const int index = day == 0 ? 6 : day - 1;
    formats.DayNames[day] = Plat::LocaleInfo(Offset(LocaleItem::DayName1, index));
    formats.AbbrevDays[day] = Plat::LocaleInfo(Offset(LocaleItem::AbbrevDayName1, index));
  }
  for (int month = 0; month < 12; ++month) {
    formats.MonthNames[month] = Plat::LocaleInfo(Offset(LocaleItem::MonthName1, month));
    formats.AbbrevMonths[month] = Plat::LocaleInfo(Offset(LocaleItem::AbbrevMonthName1, month));
  }
  formats.AmMarker = Plat::LocaleInfo(LocaleItem::AmMarker);
  formats.PmMarker = Plat::LocaleInfo(LocaleItem::PmMarker);
  formats.Loaded = true;
  return formats;
}

}  // namespace

const std::string& LocaleShortDatePattern() { return Formats().ShortDate; }
const std::string& LocaleLongDatePattern() { return Formats().LongDate; }
const std::string& LocaleLongTimePattern() { return Formats().LongTime; }
const std::string& LocaleShortTimePattern() { return Formats().ShortTime; }

const std::string& LocaleDayName(int dayOfWeek, bool abbreviated) {
  const std::size_t day = static_cast<std::size_t>(dayOfWeek);
  return abbreviated ? Formats().AbbrevDays[day] : Formats().DayNames[day];
}

const std::string& LocaleMonthName(int month, bool abbreviated) {
  const std::size_t index = static_cast<std::size_t>(month - 1);
  return abbreviated ? Formats().AbbrevMonths[index] : Formats().MonthNames[index];
}

const std::string& LocaleDayHalfMarker(int hour) {
  return hour < 12 ? Formats().AmMarker : Formats().PmMarker;
}

void ReadLocaleSeparators(OptionsRec& options) {
  std::string dateSeparator = Plat::LocaleInfo(Plat::LocaleItem::DateSeparator);
  std::string timeSeparator = Plat::LocaleInfo(Plat::LocaleItem::TimeSeparator);
  if (!dateSeparator.empty()) options.DateSeparator = dateSeparator;
  if (!timeSeparator.empty()) options.TimeSeparator = timeSeparator;
}
