// What OConfig writes: the configuration shown in its own colours, the
// usage, and its messages.
#pragma once

#include <string>

#include "OConfig/ConfigurationSet.h"

void ShowConfiguration(const ConfigurationSet& set);
void ShowOConfigUsage();
// A message on a line of its own, in the heading colour.
void ShowProblem(const std::string& message);
