#include "Engine/RangeFilters.h"

bool ParseDateRange(const std::string&) { return false; }
bool ParseTimeRange(const std::string&) { return false; }
bool ParseSizeRange(const std::string&) { return false; }
bool PassesDateTimeFilters(double) { return true; }
bool PassesSizeFilter(std::int64_t) { return true; }
