#include "Configuration/DisplayColours.h"

const std::array<DisplayColourRow, DisplayColourCount> DisplayColourRows = {{
    {"FileColour", &ColourRec::FileColour, "file names without an extension colour"},
    {"DateColour", &ColourRec::DateColour, "date and time columns"},
    {"DirectoryColour", &ColourRec::DirectoryColour, "directory names and <DIR>"},
    {"LineColour", &ColourRec::LineColour, "lines and separators"},
    {"HeadingColour", &ColourRec::HeadingColour, "\"Path:\", \"Volume Label:\", error messages"},
    {"HeadingValueColour", &ColourRec::HeadingValueColour, "the path or label after them"},
    {"DetailColour", &ColourRec::DetailColour, "size, compression and owner columns"},
    {"PromptColour", &ColourRec::PromptColour, "the page prompt"},
    {"SummaryFigureColour", &ColourRec::SummaryFigureColour, "figures of the summary lines"},
    {"SummaryTextColour", &ColourRec::SummaryTextColour, "words of the summary lines"},
    {"BannerColour", &ColourRec::BannerColour, "the banner line"},
}};

std::array<std::uint8_t, DisplayColourCount> DefaultDisplayColours() {
  const ColourRec defaults;
  std::array<std::uint8_t, DisplayColourCount> bytes{};
  for (std::size_t k = 0; k < DisplayColourCount; ++k)
    bytes[k] = defaults.*DisplayColourRows[k].Field;
  return bytes;
}
