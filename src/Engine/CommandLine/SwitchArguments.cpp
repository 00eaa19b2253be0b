// Switches that carry a small argument of their own: /T, /K and the range
// switches, and the integer conversion that /K and /M O share.
#include <charconv>

#include "RunValues/Options.h"
#include "RunValues/StartupWriters.h"
#include "Console/Console.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "Engine/Ranges/RangeFilters.h"

namespace {

constexpr std::size_t MaxNumberChars = 99;
constexpr std::int32_t MinRedirectWidth = 40;

}  // namespace

std::int32_t IntegerArgument(const std::string& text) {
  std::int32_t value = 0;
  if (!IsDecimalInteger(text, value))
    FatalError("'" + text + "' is not a valid integer value", false, ExitCode::Refused);
  return value;
}

// TA or T:A, with A, C or W; any other form changes nothing but BadOption.
void ParseTimeField(const std::string& word) {
  std::size_t at = ArgumentStart(word);
  char letter = at < word.size() ? word[at] : 0;
  bool valid = word.size() == at + 1 && (letter == 'A' || letter == 'C' || letter == 'W');
  if (valid)
    StartupOptions().TimeField = letter;
  else
    StartupOptions().BadOption = true;
}

// K132 or K:132. A width below 40 is refused and not kept: the usage screen
// that reports it must still be wide enough to show it.
void ParseRedirectWidth(const std::string& word) {
  std::size_t at;
  if (word.size() >= 4 && word[1] == ':')
    at = 2;
  else if (word.size() >= 3)
    at = 1;
  else {
    StartupOptions().BadOption = true;
    return;
  }
  std::int32_t width = IntegerArgument(word.substr(at, MaxNumberChars));
  if (width < MinRedirectWidth)
    StartupOptions().BadOption = true;
  else
    StartupOptions().RedirectWidth = width;
}

bool ParseDateRange(const std::string& text) {
  OptionsRec& options = StartupOptions();
  const auto read = ReadDateRange(text, {.Low = options.DateLow, .High = options.DateHigh});
  if (!read) return false;
  options.DateLow = read->Low;
  options.DateHigh = read->High;
  options.DateRangeStamp = read->Stamp;
  if (read->DateTyped) options.DateSeparator = "-";
  return true;
}

bool ParseTimeRange(const std::string& text) {
  OptionsRec& options = StartupOptions();
  const auto read = ReadTimeRange(text, {.Low = options.TimeLow, .High = options.TimeHigh});
  if (!read) return false;
  options.TimeLow = read->Low;
  options.TimeHigh = read->High;
  options.TimeRangeStamp = read->Stamp;
  if (read->TimeTyped) options.TimeSeparator = ":";
  return true;
}

bool ParseSizeRange(const std::string& text) {
  OptionsRec& options = StartupOptions();
  const auto read = ReadSizeRange(text, {.Low = options.SizeLow, .High = options.SizeHigh});
  if (!read) return false;
  options.SizeLow = read->Low;
  options.SizeHigh = read->High;
  options.SizeOpenEnded = read->OpenEnded;
  return true;
}

// [D...], [T...] or [S...]: an accepted switch turns its filter on.
void ParseRangeSwitch(const std::string& word) {
  char kind = word.size() > 1 ? word[1] : 0;
  if (kind == 'D' && ParseDateRange(word))
    StartupOptions().DateRangeOn = true;
  else if (kind == 'T' && ParseTimeRange(word))
    StartupOptions().TimeRangeOn = true;
  else if (kind == 'S' && ParseSizeRange(word))
    StartupOptions().SizeRangeOn = true;
  else
    StartupOptions().BadOption = true;
}
