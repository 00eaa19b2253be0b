// OConfig's switches: each one changes the configuration held in memory.
#pragma once

#include <string>

#include "OConfig/ConfigurationSet.h"

enum class ArgumentKind { Change, Help };

// Applies one argument to `set`; false with a message for people when it
// cannot be understood or applied (the set may then be partly changed and
// must be thrown away). `kind` tells /? from a change.
bool ApplyArgument(const std::string& argument, ConfigurationSet& set, ArgumentKind& kind,
                   std::string& problem);
