// The date display pattern: read left to right, a run of one letter (in
// either case) is one specifier whose length counts; the locale formats that
// c, ddddd, dddddd, t and tt name are patterns themselves.
#include "Engine/Dates/DateFormat.h"

#include <cstdio>
#include <string_view>

#include "Common/RunState.h"
#include "Engine/Dates/DateFormatLocale.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Platform/Platform.h"

namespace {

// Locale formats are expanded inside the pattern and inside one another, but
// no deeper than this.
constexpr int MaxExpansionDepth = 2;

struct PatternContext {
  const Plat::CalendarTime& Time;
  std::string& Out;
};

char UpperAscii(char character) {
  return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A')
                                              : character;
}

bool IsAsciiLetter(char character) {
  char upper = UpperAscii(character);
  return upper >= 'A' && upper <= 'Z';
}

bool IsQuote(char character) { return character == '"' || character == '\''; }

bool StartsWithFolded(std::string_view text, std::size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k)
    if (UpperAscii(text[at + k]) != UpperAscii(word[k])) return false;
  return true;
}

// Index of the closing quote of the quoted text starting at `at`, or the end.
std::size_t ClosingQuote(std::string_view pattern, std::size_t at) {
  std::size_t close = pattern.find(pattern[at], at + 1);
  return close == std::string_view::npos ? pattern.size() : close;
}

std::size_t RunLength(std::string_view pattern, std::size_t at) {
  char letter = UpperAscii(pattern[at]);
  std::size_t end = at + 1;
  while (end < pattern.size() && UpperAscii(pattern[end]) == letter) ++end;
  return end - at;
}

// Zero-padded to minDigits; without printf, which costs more than the rest of a date.
void AppendNumber(std::string& out, int value, int minDigits) {
  if (value >= 0 && value < 100 && minDigits <= 2) {  // most of a date's figures
    if (value >= 10 || minDigits == 2) out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
    return;
  }
  char digits[16];
  char* end = digits + sizeof digits;
  char* at = end;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    *--at = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (end - at < minDigits && at > digits + 1) *--at = '0';
  if (value < 0) *--at = '-';
  out.append(at, static_cast<std::size_t>(end - at));
}

bool IsDayHalfMarker(std::string_view pattern, std::size_t at) {
  if (UpperAscii(pattern[at]) != 'A') return false;  // all three start with it
  return StartsWithFolded(pattern, at, "am/pm") || StartsWithFolded(pattern, at, "a/p") ||
         StartsWithFolded(pattern, at, "ampm");
}

// An hour is on the 12-hour clock when a day-half marker follows before the
// next hour specifier (quoted text does not count).
bool TwelveHourClockFollows(std::string_view pattern, std::size_t from) {
  for (std::size_t at = from; at < pattern.size(); ++at) {
    char character = pattern[at];
    if (IsQuote(character))
      at = ClosingQuote(pattern, at);
    else if (character == 'h' || character == 'H')
      return false;
    else if (IsDayHalfMarker(pattern, at))
      return true;
  }
  return false;
}

int TwelveHour(int hour) {
  if (hour == 0) return 12;
  return hour > 12 ? hour - 12 : hour;
}

void AppendPattern(PatternContext& context, std::string_view pattern, int depth);

void AppendLocaleFormat(PatternContext& context, const std::string& format, int depth) {
  if (depth < MaxExpansionDepth) AppendPattern(context, format, depth + 1);
}

// The specifiers that begin with "a"; returns the characters consumed.
std::size_t AppendAForm(PatternContext& context, std::string_view pattern, std::size_t at) {
  const Plat::CalendarTime& time = context.Time;
  bool morning = time.Hour < 12;
  if (StartsWithFolded(pattern, at, "am/pm")) {
    context.Out.append(pattern.substr(morning ? at : at + 3, 2));
    return 5;
  }
  if (StartsWithFolded(pattern, at, "a/p")) {
    context.Out += pattern[morning ? at : at + 2];
    return 3;
  }
  if (StartsWithFolded(pattern, at, "ampm")) {
    context.Out += LocaleDayHalfMarker(time.Hour);
    return 4;
  }
  if (StartsWithFolded(pattern, at, "aaaa")) {
    context.Out += LocaleDayName(time.DayOfWeek, false);
    return 4;
  }
  if (StartsWithFolded(pattern, at, "aaa")) {
    context.Out += LocaleDayName(time.DayOfWeek, true);
    return 3;
  }
  context.Out += pattern[at];
  return 1;
}

void AppendDay(PatternContext& context, std::size_t count, int depth) {
  const Plat::CalendarTime& time = context.Time;
  if (count <= 2)
    AppendNumber(context.Out, time.Day, static_cast<int>(count));
  else if (count <= 4)
    context.Out += LocaleDayName(time.DayOfWeek, count == 3);
  else
    AppendLocaleFormat(context, count == 5 ? LocaleShortDatePattern() : LocaleLongDatePattern(),
                       depth);
}

void AppendMonth(PatternContext& context, std::size_t count) {
  if (count <= 2)
    AppendNumber(context.Out, context.Time.Month, static_cast<int>(count));
  else
    context.Out += LocaleMonthName(context.Time.Month, count == 3);
}

void AppendWholeDate(PatternContext& context, int depth) {
  const Plat::CalendarTime& time = context.Time;
  AppendLocaleFormat(context, LocaleShortDatePattern(), depth);
  if (time.Hour == 0 && time.Minute == 0 && time.Second == 0) return;
  context.Out += ' ';
  AppendLocaleFormat(context, LocaleLongTimePattern(), depth);
}

int TwoAtMost(std::size_t count) { return count >= 2 ? 2 : 1; }

// One letter specifier of `count` letters at `at`; the token is upper-cased,
// with minutes already told apart from months.
void AppendSpecifier(PatternContext& context, std::string_view pattern, std::size_t at,
                     std::size_t count, char token, int depth) {
  const Plat::CalendarTime& time = context.Time;
  std::string& out = context.Out;
  switch (token) {
    case 'C': AppendWholeDate(context, depth); break;
    case 'D': AppendDay(context, count, depth); break;
    case 'M': AppendMonth(context, count); break;
    case 'Y':
      if (count <= 2)
        AppendNumber(out, time.Year % 100, 2);
      else
        AppendNumber(out, time.Year, 4);
      break;
    case 'H': {
      bool twelve = TwelveHourClockFollows(pattern, at + count);
      AppendNumber(out, twelve ? TwelveHour(time.Hour) : time.Hour, TwoAtMost(count));
      break;
    }
    case 'N': AppendNumber(out, time.Minute, TwoAtMost(count)); break;
    case 'S': AppendNumber(out, time.Second, TwoAtMost(count)); break;
    case 'T':
      AppendLocaleFormat(context, count == 1 ? LocaleShortTimePattern() : LocaleLongTimePattern(),
                         depth);
      break;
    case 'E': AppendNumber(out, Plat::EraYear(time), TwoAtMost(count)); break;
    case 'G': out += Plat::EraName(time); break;
    default: out.append(pattern.substr(at, count)); break;
  }
}

void AppendPattern(PatternContext& context, std::string_view pattern, int depth) {
  char lastLetter = 0;
  std::size_t at = 0;
  while (at < pattern.size()) {
    char character = pattern[at];
    if (IsQuote(character)) {
      std::size_t close = ClosingQuote(pattern, at);
      context.Out.append(pattern.substr(at + 1, close - at - 1));
      at = close + 1;
    } else if (character == '/') {
      context.Out += DateSeparator;
      ++at;
    } else if (character == ':') {
      context.Out += TimeSeparator;
      ++at;
    } else if (!IsAsciiLetter(character)) {
      context.Out += character;
      ++at;
    } else if (UpperAscii(character) == 'A') {
      at += AppendAForm(context, pattern, at);
      lastLetter = 'A';
    } else {
      std::size_t count = RunLength(pattern, at);
      char token = UpperAscii(character);
      // An m or mm right after an h means minutes; longer runs stay month names.
      if (token == 'M' && count <= 2 && lastLetter == 'H') token = 'N';
      lastLetter = token;
      AppendSpecifier(context, pattern, at, count, token, depth);
      at += count;
    }
  }
}

}  // namespace

void AppendDateTime(std::string& out, const std::string& pattern, double value) {
  Plat::CalendarTime time = DecodeDateTime(value);
  PatternContext context{time, out};
  AppendPattern(context, pattern.empty() ? std::string_view("c") : std::string_view(pattern), 0);
}

std::string FormatDateTime(const std::string& pattern, double value) {
  std::string text;
  AppendDateTime(text, pattern, value);
  return text;
}
