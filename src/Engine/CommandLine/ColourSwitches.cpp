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
    Looks.Colours.LineColour = Looks.Colours.BannerColour = Looks.Colours.DetailColour =
        PlainAttribute;
    Looks.Colours.DirectoryColour = Looks.Colours.HeadingColour = Looks.Colours.HeadingValueColour =
        PlainAttribute;
    Looks.Colours.SummaryTextColour = Looks.Colours.SummaryFigureColour = PlainAttribute;
    Looks.Colours.PromptColour = Looks.Colours.DateColour = PlainAttribute;
  } else {
    Looks.Colours.DirectoryColour = Looks.Colours.FileColour = PlainAttribute;
  }
  Looks.ColourEnabled = false;
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
