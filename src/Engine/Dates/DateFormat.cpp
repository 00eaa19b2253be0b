#include "Engine/Dates/DateFormat.h"

#include <string_view>

#include "Common/RunState.h"
#include "Engine/Dates/DateFormatLocale.h"
#include "Engine/Dates/DatePattern.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Platform/Platform.h"

namespace {

using Kind = DateStepKind;

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

int TwelveHour(int hour) {
  if (hour == 0) return 12;
  return hour > 12 ? hour - 12 : hour;
}

// The steps that write a number, with the figure each takes.
int StepNumber(const DateStep& step, const Plat::CalendarTime& time) {
  switch (step.Kind) {
    case Kind::Day: return time.Day;
    case Kind::Month: return time.Month;
    case Kind::ShortYear: return time.Year % 100;
    case Kind::Year: return time.Year;
    case Kind::Hour: return time.Hour;
    case Kind::TwelveHour: return TwelveHour(time.Hour);
    case Kind::Minute: return time.Minute;
    case Kind::Second: return time.Second;
    default: return Plat::EraYear(time);
  }
}

void AppendStep(std::string& out, const DateStep& step, const Plat::CalendarTime& time) {
  const bool abbreviated = step.Width == 1;
  switch (step.Kind) {
    case Kind::Literal: out += step.Text; break;
    case Kind::DateSeparator: out += DateSeparator; break;
    case Kind::TimeSeparator: out += TimeSeparator; break;
    case Kind::EraName: out += Plat::EraName(time); break;
    case Kind::DayName: out += LocaleDayName(time.DayOfWeek, abbreviated); break;
    case Kind::MonthName: out += LocaleMonthName(time.Month, abbreviated); break;
    case Kind::LocaleDayHalf: out += LocaleDayHalfMarker(time.Hour); break;
    case Kind::DayHalfLetters:
      out.append(step.Text, time.Hour < 12 ? 0 : step.Width, step.Width);
      break;
    default: AppendNumber(out, StepNumber(step, time), static_cast<int>(step.Width)); break;
  }
}

}  // namespace

void AppendDateTime(std::string& out, const std::string& pattern, double value) {
  AppendCalendarTime(out, pattern, DecodeDateTime(value));
}

void AppendCalendarTime(std::string& out, const std::string& pattern,
                        const Plat::CalendarTime& time) {
  const std::vector<DateStep>& steps = DatePatternSteps(pattern);
  for (std::size_t at = 0; at < steps.size(); ++at) {
    const DateStep& step = steps[at];
    if (step.Kind != Kind::SkipAtMidnight)
      AppendStep(out, step, time);
    else if (time.Hour == 0 && time.Minute == 0 && time.Second == 0)
      at += step.Width;
  }
}

std::string FormatDateTime(const std::string& pattern, double value) {
  std::string text;
  AppendDateTime(text, pattern, value);
  return text;
}
