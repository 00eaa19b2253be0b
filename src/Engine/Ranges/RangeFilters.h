#pragma once
#include <cstdint>
#include <string>

// Range switch parsers; each takes the switch text without the slash, such as
// "[D-7]", writes the bounds and returns whether the switch is accepted.
bool ParseDateRange(const std::string& text);
bool ParseTimeRange(const std::string& text);
bool ParseSizeRange(const std::string& text);

// The date filter then the time-of-day filter (each only when on) for a local
// date-time stamp of kind DateRangeStamp.
bool PassesDateTimeFilters(double stamp);
// The size filter (only when on).
bool PassesSizeFilter(std::int64_t size);
