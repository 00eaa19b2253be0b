// Display colours, the per-extension colour table and the registry settings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "RunValues/LocaleFormats.h"

struct ColsType {
  std::string Extension;  // upper-case extension without the dot
  std::uint8_t Colour = 7;
};

constexpr int MaxExtensionColours = 100;
// An extension is matched on its first this many characters; OConfig sets none longer.
constexpr std::size_t MaxExtensionChars = 99;

struct ColourRec {
  std::uint8_t FileColour = 7;            // names without an extension entry
  std::uint8_t DateColour = 15;           // date and time columns
  std::uint8_t DirectoryColour = 14;      // directory names and <DIR>
  std::uint8_t LineColour = 3;            // box lines and separators
  std::uint8_t HeadingColour = 12;        // "Path: ", "Volume Label: ", fatal messages
  std::uint8_t HeadingValueColour = 10;   // the path or label after those captions
  std::uint8_t DetailColour = 15;         // size, compressed, ratio, owner columns
  std::uint8_t PromptColour = 0x4E;       // the page prompt
  std::uint8_t SummaryFigureColour = 14;  // figures of summary lines
  std::uint8_t SummaryTextColour = 15;    // words of summary lines
  std::uint8_t BannerColour = 15;         // the banner line
};

// What the registry and the colour and date switches settle at start-up for the display.
struct LooksRec {
  ColourRec Colours;
  std::array<ColsType, MaxExtensionColours + 1> ExtensionColours;  // slots 1..100
  int ExtensionColourCount = 0;                                    // slots in use
  bool ColourEnabled = true;        // names coloured by kind; /G turns it off
  std::string PresetSwitches;       // switch text applied before the command line
  std::string DateFormat;           // date display pattern; empty means "c"
  std::vector<DateStep> DateSteps;  // DateFormat parsed at start-up, separators folded in
};
// The run reads them through the settled value's const view.
#include "RunValues/SettledValues.h"
