// The locale's date and time formats and names, as the date pattern uses them.
#pragma once
#include <string>

// Short and long date formats, as patterns.
std::string LocaleShortDatePattern();
std::string LocaleLongDatePattern();
// Long time format, and the same without its seconds, as patterns.
std::string LocaleLongTimePattern();
std::string LocaleShortTimePattern();
// Day name for a day of the week (0 = Sunday), abbreviated or full.
std::string LocaleDayName(int dayOfWeek, bool abbreviated);
// Month name for a month 1..12, abbreviated or full.
std::string LocaleMonthName(int month, bool abbreviated);
// The morning or afternoon marker for an hour 0..23.
std::string LocaleDayHalfMarker(int hour);
