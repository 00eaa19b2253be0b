// The read steps of a date pattern made cheap to run: the constant texts
// (literals and the separators of the run) ride on the step before them.
#pragma once
#include <string>
#include <vector>

#include "RunValues/LocaleFormats.h"

// Separators become their text, literals join the After text of the step
// before them (never across the edge of a part skipped at midnight), empty
// literals go, and the day-half step takes both locale markers.
void FoldDateSteps(std::vector<DateStep>& steps, const std::string& dateSeparator,
                   const std::string& timeSeparator);
