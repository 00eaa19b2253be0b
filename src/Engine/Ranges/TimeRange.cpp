// /[T...]: times of day, or minutes relative to now (lower bound) and to the
// lower bound (upper bound).
#include <algorithm>

#include "Base/AsciiCase.h"
#include "Base/DecimalInteger.h"
#include "RunValues/Options.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Ranges/RangeFilters.h"
#include "Engine/Ranges/RangeScanner.h"
#include "Platform/LocaleTime.h"

namespace {

constexpr double MinutesPerDay = 1440.0;
constexpr double LastMinuteOfDay = 1439.0 / MinutesPerDay;

enum Marker { NoMarker, AmMarker, PmMarker };

bool MatchesAt(const std::string& text, std::size_t at, const std::string& marker) {
  if (marker.empty() || text.size() - at < marker.size()) return false;
  return UpperCaseAscii(text.substr(at, marker.size())) == UpperCaseAscii(marker);
}

// The locale's AM/PM marker or the literal AM/PM at text[at], consumed.
Marker ReadMarker(const std::string& text, std::size_t& at) {
  const std::string candidates[] = {Plat::LocaleInfo(Plat::LocaleItem::AmMarker),
                                    Plat::LocaleInfo(Plat::LocaleItem::PmMarker), "AM", "PM"};
  for (int i = 0; i < 4; ++i) {
    if (!MatchesAt(text, at, candidates[i])) continue;
    at += candidates[i].size();
    return i % 2 == 0 ? AmMarker : PmMarker;
  }
  return NoMarker;
}

// h[:mm[:ss]] with an optional marker before or after.
bool ReadTimeOfDay(const std::string& text, double& value) {
  std::size_t at = 0;
  Marker marker = ReadMarker(text, at);
  int hours = 0, minutes = 0, seconds = 0;
  if (!ReadRangeNumber(text, at, hours)) return false;
  if (at < text.size() && text[at] == ':' && !ReadRangeNumber(text, ++at, minutes)) return false;
  if (at < text.size() && text[at] == ':' && !ReadRangeNumber(text, ++at, seconds)) return false;
  if (marker == NoMarker) marker = ReadMarker(text, at);
  if (at != text.size()) return false;
  if (marker != NoMarker) {
    if (hours < 1 || hours > 12) return false;
    hours = hours % 12 + (marker == PmMarker ? 12 : 0);
  }
  if (hours >= 24 || minutes >= 60 || seconds >= 60) return false;
  value = (hours * 3600 + minutes * 60 + seconds) / 86400.0;
  return true;
}

struct TimeBounds final : RangeBounds {
  explicit TimeBounds(TimeRangeRead from) : Read(from) {}

  bool ReadBound(const std::string& text, char sign, bool upper) override {
    double value = 0;
    if (sign == 0) {
      Read.TimeTyped = true;  // times are written as they are typed here
      if (!ReadTimeOfDay(text, value)) return false;
    } else {
      std::int32_t minutes = 0;
      if (!IsDecimalInteger(text, minutes)) return false;
      double base = upper ? Read.Low : NowTimeOfDay();
      value = sign == '+' ? base + minutes / MinutesPerDay : base - minutes / MinutesPerDay;
      // The comparison never wraps, so a bound past midnight stops at the day's edge.
      value = std::clamp(value, 0.0, LastMinuteOfDay);
    }
    (upper ? Read.High : Read.Low) = value;
    return true;
  }

  bool Finish(bool commaSeen) override {
    if (!commaSeen) Read.High = NowTimeOfDay();
    return true;
  }

  TimeRangeRead Read;
};

}  // namespace

std::optional<TimeRangeRead> ReadTimeRange(const std::string& text, TimeRangeRead from) {
  TimeBounds bounds(from);
  bounds.Read.Stamp = NoStamp;  // reset by every time switch
  if (!ScanRangeText(text, {'T', &bounds.Read.Stamp, bounds})) return std::nullopt;
  return bounds.Read;
}
