// Reading and writing the whole configuration in the registry.
#pragma once

#include <cstdint>

#include "OConfig/ConfigurationSet.h"

// The Extensions key exists: the lister takes that as "configured".
bool ConfigurationExists();
// What the registry holds, read leniently: values of the wrong type or out
// of range are left out, missing colours take their defaults.
ConfigurationSet LoadConfigurationSet();
// Writes `next` whole; when a write fails, puts `previous` back (or, with no
// previous configuration, removes the Extensions key) and returns the error code.
// 0 on success.
std::uint32_t StoreConfigurationSet(const ConfigurationSet& next, const ConfigurationSet* previous);
// The default configuration, written whole; 0 or the error code.
std::uint32_t WriteDefaultConfiguration();
