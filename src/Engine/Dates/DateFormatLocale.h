// The locale's date and time formats and names, as the date pattern uses them;
// read from the locale once per run.
#pragma once
#include <string>

#include "RunValues/Options.h"

// Short and long date formats, as patterns.
const std::string& LocaleShortDatePattern();
const std::string& LocaleLongDatePattern();
// Long time format, and the same without its seconds, as patterns.
const std::string& LocaleLongTimePattern();
const std::string& LocaleShortTimePattern();
// Day name for a day of the week (0 = Sunday), abbreviated or full.
const std::string& LocaleDayName(int dayOfWeek, bool abbreviated);
// Month name for a month 1..12, abbreviated or full.
const std::string& LocaleMonthName(int month, bool abbreviated);
// The morning or afternoon marker for an hour 0..23.
const std::string& LocaleDayHalfMarker(int hour);
// Takes the locale's date and time separators into the options (at start-up).
void ReadLocaleSeparators(OptionsRec& options);
