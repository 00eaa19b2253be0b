// /G (and its older spelling /D): turning colours off.
#include "Common/Colours.h"
#include "Common/Options.h"
#include "Engine/CommandLine/SwitchParser.h"

namespace {

constexpr std::uint8_t PlainAttribute = 7;

}  // namespace

void DisableColours(char letter) {
  if (letter == 'A') {
    // Everything but the file names, which keep their configured colour.
    Colours.LineColour = Colours.BannerColour = Colours.DetailColour = PlainAttribute;
    Colours.DirectoryColour = Colours.HeadingColour = Colours.HeadingValueColour = PlainAttribute;
    Colours.SummaryTextColour = Colours.SummaryFigureColour = PlainAttribute;
    Colours.PromptColour = Colours.DateColour = PlainAttribute;
  } else {
    Colours.DirectoryColour = Colours.FileColour = PlainAttribute;
  }
  ColourEnabled = false;
}

// GA or G:A, GF or G:F; only the one letter is looked at.
void ParseColourSwitch(const std::string& word) {
  std::size_t at = ArgumentStart(word);
  char letter = at < word.size() ? word[at] : 0;
  if (letter == 'A' || letter == 'F')
    DisableColours(letter);
  else
    StartupOptions().BadOption = true;
}
