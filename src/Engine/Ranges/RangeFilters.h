#pragma once
#include <cstdint>
#include <optional>
#include <string>

// What a range switch reads. A bound the switch does not write keeps the
// value it starts from: zero, or what an earlier switch of its kind left.
struct DateRangeRead {
  double Low = 0;
  double High = 0;
  std::uint8_t Stamp = 0;    // the stamp letter inside the switch (TimeStampKind), 0 none
  bool DateTyped = false;    // an absolute date was given: "-" separates dates from now on
};
struct TimeRangeRead {
  double Low = 0;
  double High = 0;
  std::uint8_t Stamp = 0;
  bool TimeTyped = false;    // an absolute time was given: ":" separates times from now on
};
struct SizeRangeRead {
  std::int64_t Low = 0;
  std::int64_t High = 0;
  bool OpenEnded = false;    // no comma: no upper bound is tested
};

// Range switch readers; each takes the switch text without the slash, such as
// "[D-7]", and the bounds so far, and gives what it read, or nothing when the
// switch is refused.
std::optional<DateRangeRead> ReadDateRange(const std::string& text, DateRangeRead from);
std::optional<TimeRangeRead> ReadTimeRange(const std::string& text, TimeRangeRead from);
std::optional<SizeRangeRead> ReadSizeRange(const std::string& text, SizeRangeRead from);

// The date filter then the time-of-day filter (each only when on) for a local
// date-time stamp of kind DateRangeStamp.
bool PassesDateTimeFilters(double stamp);
// The size filter (only when on).
bool PassesSizeFilter(std::int64_t size);
