#pragma once
#include <string>

// Formats a local date-time value with the date display pattern (an empty
// pattern means "c").
std::string FormatDateTime(const std::string& pattern, double value);
