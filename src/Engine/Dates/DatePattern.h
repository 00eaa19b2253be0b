// The date display pattern read once into steps, so each date only runs them.
#pragma once
#include <string_view>
#include <vector>

#include "RunValues/LocaleFormats.h"

// The steps of a pattern (an empty pattern means "c"), folded for the run's
// separators; parsed at the first use in a run and kept while the pattern
// stays the same.
const std::vector<DateStep>& DatePatternSteps(std::string_view pattern);
