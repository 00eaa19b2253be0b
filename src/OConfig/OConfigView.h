// What OConfig writes: the configuration shown in its own colours, the
// usage, and its messages.
#pragma once

#include <cstdint>
#include <string>

#include "OConfig/ConfigurationSet.h"

void ShowConfiguration(const ConfigurationSet& set);
void ShowOConfigUsage();
// A message on a line of its own, in the heading colour.
void ShowProblem(const std::string& message);
// A message on a line of its own, in the text colour.
void ShowNotice(const std::string& message);
// Why `what` ("the configuration", "the system PATH") could not be written,
// and that it was left as it was.
void ShowWriteFailure(std::uint32_t error, const std::string& what);
