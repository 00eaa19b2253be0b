// Locale formats come in the system's own picture notation, which differs from
// the display pattern in one letter: there "t" and "tt" stand for the AM/PM
// marker. Read as our "t"/"tt" they would name the time format inside itself,
// so they are rewritten to "ampm" before use.
#include "Engine/Dates/DateFormatLocale.h"

#include "Platform/Platform.h"

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

}  // namespace

std::string LocaleShortDatePattern() { return Plat::LocaleInfo(LocaleItem::ShortDate); }
std::string LocaleLongDatePattern() { return Plat::LocaleInfo(LocaleItem::LongDate); }

std::string LocaleLongTimePattern() {
  return MarkersAsAmPm(Plat::LocaleInfo(LocaleItem::LongTime));
}

std::string LocaleShortTimePattern() { return WithoutSeconds(LocaleLongTimePattern()); }

std::string LocaleDayName(int dayOfWeek, bool abbreviated) {
  // The locale numbers the days from Monday (1) to Sunday (7).
  int index = dayOfWeek == 0 ? 6 : dayOfWeek - 1;
  return Plat::LocaleInfo(
      Offset(abbreviated ? LocaleItem::AbbrevDayName1 : LocaleItem::DayName1, index));
}

std::string LocaleMonthName(int month, bool abbreviated) {
  return Plat::LocaleInfo(
      Offset(abbreviated ? LocaleItem::AbbrevMonthName1 : LocaleItem::MonthName1, month - 1));
}

std::string LocaleDayHalfMarker(int hour) {
  return Plat::LocaleInfo(hour < 12 ? LocaleItem::AmMarker : LocaleItem::PmMarker);
}
