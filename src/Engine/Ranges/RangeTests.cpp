// The per-entry tests of the range filters, called by the scan.
#include <cmath>

#include "RunValues/Options.h"
#include "Engine/Ranges/RangeFilters.h"

namespace {

constexpr double MillisecondsPerDay = 86400000.0;

// Minutes since midnight of a date-time's time of day, seconds ignored.
int MinuteOfDay(double value) {
  double fraction = std::fabs(value - std::trunc(value));
  long long milliseconds = std::llround(fraction * MillisecondsPerDay);
  if (milliseconds >= static_cast<long long>(MillisecondsPerDay)) milliseconds = 0;
  return static_cast<int>(milliseconds / 60000);
}

}  // namespace

bool PassesDateTimeFilters(double stamp) {
  if (Options.DateRangeOn) {
    double day = std::trunc(stamp);
    if (day < Options.DateLow || day > Options.DateHigh) return false;
  }
  if (Options.TimeRangeOn) {
    int minute = MinuteOfDay(stamp);
    if (minute < MinuteOfDay(Options.TimeLow) || minute > MinuteOfDay(Options.TimeHigh))
      return false;
  }
  return true;
}

bool PassesSizeFilter(std::int64_t size) {
  if (!Options.SizeRangeOn) return true;
  return size >= Options.SizeLow && (Options.SizeOpenEnded || size <= Options.SizeHigh);
}
