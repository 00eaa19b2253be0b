// /[D...]: dates in the locale's short-date order, or days relative to today
// (lower bound) and to the lower bound (upper bound).
#include "Base/AsciiCase.h"
#include "Base/DecimalInteger.h"
#include "RunValues/Options.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Ranges/RangeFilters.h"
#include "Engine/Ranges/RangeScanner.h"
#include "Platform/LocaleTime.h"

namespace {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

DateOrder LocaleDateOrder() {
  std::string order = Plat::LocaleInfo(Plat::LocaleItem::DateOrder);
  if (order == "1") return DateOrder::DayMonthYear;
  if (order == "2") return DateOrder::YearMonthDay;
  return DateOrder::MonthDayYear;
}

// Two or three numbers joined by "-"; after them at most one "-" and blanks.
int ReadDateNumbers(const std::string& text, int (&numbers)[3]) {
  std::size_t at = 0;
  int count = 0;
  if (!ReadRangeNumber(text, at, numbers[count++])) return 0;
  while (count < 3 && at + 1 < text.size() && text[at] == '-' && IsDecimalDigit(text[at + 1])) {
    ++at;
    ReadRangeNumber(text, at, numbers[count++]);
  }
  if (at < text.size() && text[at] == '-') ++at;
  while (at < text.size() && text[at] == ' ') ++at;
  return at == text.size() && count >= 2 ? count : 0;
}

bool ReadShortDate(const std::string& text, double& value) {
  int numbers[3] = {};
  int count = ReadDateNumbers(text, numbers);
  if (count == 0) return false;
  Plat::CalendarTime date;
  int thisYear = Plat::LocalNow().Year;
  DateOrder order = LocaleDateOrder();
  if (count == 2) {
    bool dayFirst = order == DateOrder::DayMonthYear;
    date.Year = thisYear;
    date.Day = numbers[dayFirst ? 0 : 1];
    date.Month = numbers[dayFirst ? 1 : 0];
  } else {
    static const int positions[3][3] = {{1, 0, 2}, {0, 1, 2}, {2, 1, 0}};  // day, month, year
    const int* at = positions[static_cast<int>(order)];
    date.Day = numbers[at[0]];
    date.Month = numbers[at[1]];
    date.Year = numbers[at[2]];
    if (date.Year <= 99) date.Year += thisYear / 100 * 100;
  }
  if (!IsValidCalendar(date)) return false;
  value = EncodeDateTime(date);
  return true;
}

struct DateBounds final : RangeBounds {
  explicit DateBounds(DateRangeRead from) : Read(from) {}

  bool ReadBound(const std::string& text, char sign, bool upper) override {
    double value = 0;
    if (sign == 0) {
      Read.DateTyped = true;  // dates are written as they are typed here
      if (!ReadShortDate(text, value)) return false;
    } else {
      std::int32_t days = 0;
      if (!IsDecimalInteger(text, days)) return false;
      double base = upper ? Read.Low : TodayDate();
      value = sign == '+' ? base + days : base - days;
    }
    (upper ? Read.High : Read.Low) = value;
    return true;
  }

  bool Finish(bool commaSeen) override {
    if (!commaSeen) Read.High = TodayDate();
    return true;
  }

  DateRangeRead Read;
};

}  // namespace

std::optional<DateRangeRead> ReadDateRange(const std::string& text, DateRangeRead from) {
  DateBounds bounds(from);
  bounds.Read.Stamp = NoStamp;  // reset by every date switch
  if (!ScanRangeText(text, {'D', &bounds.Read.Stamp, bounds})) return std::nullopt;
  return bounds.Read;
}
