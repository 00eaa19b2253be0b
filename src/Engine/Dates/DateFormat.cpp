#include "Engine/Dates/DateFormat.h"

#include <cstddef>
#include <cstring>
#include <string_view>

#include "Base/ByteWords.h"
#include "RunValues/Options.h"
#include "Engine/Dates/DateFormatLocale.h"
#include "Engine/Dates/DatePattern.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Platform/LocaleTime.h"

namespace {

using Kind = DateStepKind;

// A date is composed on the stack and appended to the caller's text in one
// go: appending step by step cost more than the rest of the formatting.
constexpr std::size_t RoomChars = 128;
// The most a number step writes: a sign and ten digits.
constexpr std::size_t NumberChars = 11;

// "00" to "99", so that two digits are one copy.
constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void WritePair(char* to, int value) {
  to[0] = DigitPairs[2 * value];
  to[1] = DigitPairs[2 * value + 1];
}

// Zero-padded to minDigits, written at `to`; returns the characters written.
// Without printf, which costs more than the rest of a date.
std::size_t WriteNumber(char* to, int value, std::uint32_t minDigits) {
  if (value >= 0 && value < 100 && minDigits <= 2) {  // most of a date's figures
    if (value < 10 && minDigits < 2) {
      to[0] = static_cast<char>('0' + value);
      return 1;
    }
    WritePair(to, value);
    return 2;
  }
  if (value >= 1000 && value < 10000 && minDigits <= 4) {  // the years
    WritePair(to, value / 100);
    WritePair(to + 2, value % 100);
    return 4;
  }
  char digits[16];
  char* end = digits + sizeof digits;
  char* at = end;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    *--at = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (end - at < static_cast<std::ptrdiff_t>(minDigits) && at > digits + 1) *--at = '0';
  if (value < 0) *--at = '-';
  const auto count = static_cast<std::size_t>(end - at);
  CopyShort(to, at, count);
  return count;
}

int TwelveHour(int hour) {
  if (hour == 0) return 12;
  return hour > 12 ? hour - 12 : hour;
}

// The text of a step that writes no number; the era name, the one text made
// on the spot, is kept in `era`.
std::string_view StepText(const DateStep& step, const Plat::CalendarTime& time, std::string& era) {
  const std::string_view text = step.Text;
  const std::uint32_t width = step.Width;
  switch (step.Kind) {
    case Kind::DateSeparator: return Options.DateSeparator;
    case Kind::TimeSeparator: return Options.TimeSeparator;
    case Kind::EraName: return era = Plat::EraName(time);
    case Kind::DayName: return LocaleDayName(time.DayOfWeek, width == 1);
    case Kind::MonthName: return LocaleMonthName(time.Month, width == 1);
    case Kind::LocaleDayHalf: return time.Hour < 12 ? text.substr(0, width) : text.substr(width);
    case Kind::DayHalfLetters: return text.substr(time.Hour < 12 ? 0 : width, width);
    default: return text;
  }
}

// Copies the text into the room after its `used` characters, emptying the
// room into `out` first when the text would not fit; returns the new count.
std::size_t PutText(std::string& out, char* room, std::size_t used, std::string_view text) {
  if (text.size() > RoomChars - used) {
    out.append(room, used);
    used = 0;
    if (text.size() > RoomChars) {
      out.append(text);
      return 0;
    }
  }
  CopyShort(room + used, text.data(), text.size());
  return used + text.size();
}

// The same for a number, zero-padded to minDigits.
std::size_t PutNumber(std::string& out, char* room, std::size_t used, int value,
                      std::uint32_t minDigits) {
  if (RoomChars - used < NumberChars) {
    out.append(room, used);
    used = 0;
  }
  return used + WriteNumber(room + used, value, minDigits);
}

}  // namespace

void AppendDateTime(std::string& out, const std::string& pattern, double value) {
  AppendCalendarTime(out, pattern, DecodeDateTime(value));
}

void AppendCalendarTime(std::string& out, const std::string& pattern,
                        const Plat::CalendarTime& time) {
  AppendCalendarTime(out, DatePatternSteps(pattern), time);
}

void AppendCalendarTime(std::string& out, const std::vector<DateStep>& steps,
                        const Plat::CalendarTime& time) {
  char room[RoomChars];
  std::size_t used = 0;
  std::string era;
  const DateStep* const last = steps.data() + steps.size();
  for (const DateStep* step = steps.data(); step < last; ++step) {
    const std::uint32_t width = step->Width;
    std::string_view text;
    int number = 0;
    bool isNumber = true;
    switch (step->Kind) {
      case Kind::Day: number = time.Day; break;
      case Kind::Month: number = time.Month; break;
      case Kind::ShortYear: number = time.Year % 100; break;
      case Kind::Year: number = time.Year; break;
      case Kind::Hour: number = time.Hour; break;
      case Kind::TwelveHour: number = TwelveHour(time.Hour); break;
      case Kind::Minute: number = time.Minute; break;
      case Kind::Second: number = time.Second; break;
      case Kind::EraYear: number = Plat::EraYear(time); break;
      case Kind::SkipAtMidnight:
        if (time.Hour == 0 && time.Minute == 0 && time.Second == 0) step += width;
        continue;
      default:
        text = StepText(*step, time, era);
        isNumber = false;
        break;
    }
    used = isNumber ? PutNumber(out, room, used, number, width) : PutText(out, room, used, text);
    const std::string& after = step->After;
    if (after.size() == 1 && used < RoomChars)  // a separator, most often
      room[used++] = after[0];
    else if (!after.empty())
      used = PutText(out, room, used, after);
  }
  out.append(room, used);
}

std::string FormatDateTime(const std::string& pattern, double value) {
  std::string text;
  AppendDateTime(text, pattern, value);
  return text;
}
