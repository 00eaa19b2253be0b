// The eleven display colours in the order of the Entities bytes, with their
// names and what they colour.
#pragma once

#include <array>
#include <cstdint>

#include "RunValues/Colours.h"
#include "Configuration/ConfigurationKeys.h"

struct DisplayColourRow {
  const char* Name;                // e.g. "DirectoryColour"
  std::uint8_t ColourRec::*Field;  // the colour it sets
  const char* Use;                 // what it colours, for people
};

extern const std::array<DisplayColourRow, DisplayColourCount> DisplayColourRows;

// The built-in display colours as Entities bytes.
std::array<std::uint8_t, DisplayColourCount> DefaultDisplayColours();
