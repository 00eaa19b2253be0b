// Reading the pattern: a run of one letter (in either case) is one specifier
// whose length counts; the locale formats that c, ddddd, dddddd, t and tt name
// are patterns themselves, read into the same steps.
#include "Engine/Dates/DatePattern.h"

#include <string>

#include "Base/AsciiCase.h"
#include "RunValues/Options.h"
#include "Engine/Dates/DateFormatLocale.h"
#include "Engine/Dates/DateStepFold.h"

namespace {

using Kind = DateStepKind;

// Locale formats are expanded inside the pattern and inside one another, but
// no deeper than this.
constexpr int MaxExpansionDepth = 2;

bool IsQuote(char character) { return character == '"' || character == '\''; }

bool StartsWithFolded(std::string_view text, std::size_t at, std::string_view word) {
  return StartsAsciiFolded(text.substr(at), word);
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

class PatternReader {
 public:
  explicit PatternReader(std::vector<DateStep>& steps) : Steps(steps) {}
  void Read(std::string_view pattern, int depth);

 private:
  void Add(Kind kind, std::size_t width = 0) {
    Steps.push_back({kind, static_cast<std::uint32_t>(width), {}, {}});
  }
  void AddText(std::string_view text) {
    if (text.empty()) return;
    if (Steps.empty() || Steps.back().Kind != Kind::Literal) Add(Kind::Literal);
    Steps.back().Text.append(text);
  }
  void ReadLocaleFormat(const std::string& format, int depth) {
    if (depth < MaxExpansionDepth) Read(format, depth + 1);
  }
  std::size_t ReadAForm(std::string_view pattern, std::size_t at);
  void ReadDay(std::size_t count, int depth);
  void ReadWholeDate(int depth);
  void ReadSpecifier(std::string_view pattern, std::size_t at, std::size_t count, char token,
                     int depth);
  std::vector<DateStep>& Steps;
};

// The specifiers that begin with "a"; returns the characters consumed.
std::size_t PatternReader::ReadAForm(std::string_view pattern, std::size_t at) {
  if (StartsWithFolded(pattern, at, "am/pm") || StartsWithFolded(pattern, at, "a/p")) {
    const bool pair = StartsWithFolded(pattern, at, "am/pm");
    Add(Kind::DayHalfLetters, pair ? 2 : 1);
    Steps.back().Text.append(pattern.substr(at, pair ? 2 : 1));
    Steps.back().Text.append(pattern.substr(at + (pair ? 3 : 2), pair ? 2 : 1));
    return pair ? 5 : 3;
  }
  if (StartsWithFolded(pattern, at, "ampm")) {
    Add(Kind::LocaleDayHalf);
    return 4;
  }
  if (StartsWithFolded(pattern, at, "aaaa") || StartsWithFolded(pattern, at, "aaa")) {
    const bool full = StartsWithFolded(pattern, at, "aaaa");
    Add(Kind::DayName, full ? 0 : 1);
    return full ? 4 : 3;
  }
  AddText(pattern.substr(at, 1));
  return 1;
}

void PatternReader::ReadDay(std::size_t count, int depth) {
  if (count <= 2)
    Add(Kind::Day, count);
  else if (count <= 4)
    Add(Kind::DayName, count == 3 ? 1 : 0);
  else
    ReadLocaleFormat(count == 5 ? LocaleShortDatePattern() : LocaleLongDatePattern(), depth);
}

// The time follows the date unless it is midnight.
void PatternReader::ReadWholeDate(int depth) {
  ReadLocaleFormat(LocaleShortDatePattern(), depth);
  Add(Kind::SkipAtMidnight);
  const std::size_t skip = Steps.size() - 1;
  Add(Kind::Literal);
  Steps.back().Text = " ";
  ReadLocaleFormat(LocaleLongTimePattern(), depth);
  Steps[skip].Width = static_cast<std::uint32_t>(Steps.size() - skip - 1);
  Add(Kind::Literal);  // no text: later text must not join the skipped steps
}

std::size_t TwoAtMost(std::size_t count) { return count >= 2 ? 2 : 1; }

// One letter specifier of `count` letters at `at`; the token is upper-cased,
// with minutes already told apart from months.
void PatternReader::ReadSpecifier(std::string_view pattern, std::size_t at, std::size_t count,
                                  char token, int depth) {
  switch (token) {
    case 'C': ReadWholeDate(depth); break;
    case 'D': ReadDay(count, depth); break;
    case 'M':
      if (count <= 2)
        Add(Kind::Month, count);
      else
        Add(Kind::MonthName, count == 3 ? 1 : 0);
      break;
    case 'Y': Add(count <= 2 ? Kind::ShortYear : Kind::Year, count <= 2 ? 2 : 4); break;
    case 'H':
      Add(TwelveHourClockFollows(pattern, at + count) ? Kind::TwelveHour : Kind::Hour,
          TwoAtMost(count));
      break;
    case 'N': Add(Kind::Minute, TwoAtMost(count)); break;
    case 'S': Add(Kind::Second, TwoAtMost(count)); break;
    case 'T':
      ReadLocaleFormat(count == 1 ? LocaleShortTimePattern() : LocaleLongTimePattern(), depth);
      break;
    case 'E': Add(Kind::EraYear, TwoAtMost(count)); break;
    case 'G': Add(Kind::EraName); break;
    default: AddText(pattern.substr(at, count)); break;
  }
}

void PatternReader::Read(std::string_view pattern, int depth) {
  char lastLetter = 0;
  std::size_t at = 0;
  while (at < pattern.size()) {
    char character = pattern[at];
    if (IsQuote(character)) {
      std::size_t close = ClosingQuote(pattern, at);
      AddText(pattern.substr(at + 1, close - at - 1));
      at = close + 1;
    } else if (character == '/' || character == ':') {
      Add(character == '/' ? Kind::DateSeparator : Kind::TimeSeparator);
      ++at;
    } else if (!IsAsciiLetter(character)) {
      AddText(pattern.substr(at, 1));
      ++at;
    } else if (UpperAscii(character) == 'A') {
      at += ReadAForm(pattern, at);
      lastLetter = 'A';
    } else {
      std::size_t count = RunLength(pattern, at);
      char token = UpperAscii(character);
      // An m or mm right after an h means minutes; longer runs stay month names.
      if (token == 'M' && count <= 2 && lastLetter == 'H') token = 'N';
      lastLetter = token;
      ReadSpecifier(pattern, at, count, token, depth);
      at += count;
    }
  }
}

// Asked for every date: the texts are short, and a call to compare them would
// cost more than the comparison.
bool SameText(std::string_view first, std::string_view second) {
  if (first.size() != second.size()) return false;
  for (std::size_t at = 0; at < first.size(); ++at)
    if (first[at] != second[at]) return false;
  return true;
}

}  // namespace

const std::vector<DateStep>& DatePatternSteps(std::string_view pattern) {
  if (pattern.empty()) pattern = "c";
  LocaleFormatsRec& cache = LocaleFormats;
  if (cache.PatternParsed && SameText(cache.ParsedPattern, pattern)) return cache.PatternSteps;
  std::vector<DateStep> steps;
  PatternReader(steps).Read(pattern, 0);
  FoldDateSteps(steps, Options.DateSeparator, Options.TimeSeparator);
  cache.PatternSteps = std::move(steps);
  cache.ParsedPattern = pattern;
  cache.PatternParsed = true;
  return cache.PatternSteps;
}
