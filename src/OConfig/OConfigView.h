// What OConfig writes: the configuration shown in its own colours, the
// usage, and its messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "OConfig/ConfigurationSet.h"
#include "OConfig/ConfigurationStore.h"

// The set as the lister uses it; `unconvertibleNames` extension values that
// cannot be named are mentioned, being left as they are.
void ShowConfiguration(const ConfigurationSet& set, std::size_t unconvertibleNames);
// The stored values the lister cannot use, why, and their repair: as done
// (`repaired`) or as what a run that can write would do.
void ShowFaults(const std::vector<ConfigurationFault>& faults, bool repaired);
// That another writer kept the configuration lock (or why it could not be had).
void ShowLockFailure(std::uint32_t error, std::uint32_t timeoutMs);
void ShowOConfigUsage();
// A message on lines of its own (broken at blanks when longer than the
// screen is wide), in the heading colour.
void ShowProblem(const std::string& message);
// The same in the text colour.
void ShowNotice(const std::string& message);
// Why `what` ("the configuration", "the system PATH") could not be written,
// and that it was left as it was (`putBack`) or may be partly changed.
void ShowWriteFailure(std::uint32_t error, const std::string& what, bool putBack = true);
