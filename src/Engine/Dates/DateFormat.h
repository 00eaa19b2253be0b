#pragma once
#include <string>
#include <vector>

#include "RunValues/LocaleFormats.h"
#include "Platform/LocaleTime.h"

// Formats a local date-time value with the date display pattern (an empty
// pattern means "c").
std::string FormatDateTime(const std::string& pattern, double value);
// The same, appended to a caller's buffer (which can be reused across calls).
void AppendDateTime(std::string& out, const std::string& pattern, double value);
// The same from calendar fields (day of week included).
void AppendCalendarTime(std::string& out, const std::string& pattern,
                        const Plat::CalendarTime& time);
// The same with the pattern's steps (DatePatternSteps), as the listing's
// dates use the pattern parsed at start-up.
void AppendCalendarTime(std::string& out, const std::vector<DateStep>& steps,
                        const Plat::CalendarTime& time);
