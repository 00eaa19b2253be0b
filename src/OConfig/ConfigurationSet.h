// A whole configuration as OConfig holds it in memory, and the default one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "RunValues/Colours.h"
#include "Configuration/ConfigurationKeys.h"

struct ConfigurationSet {
  std::vector<ColsType> Extensions;                        // in registry order
  std::array<std::uint8_t, DisplayColourCount> Display{};  // the Entities bytes
  std::string Switches;                                    // DefaultSwitches
  std::string Date;                                        // DefaultDate; empty: the locale's
};

ConfigurationSet DefaultConfigurationSet();
