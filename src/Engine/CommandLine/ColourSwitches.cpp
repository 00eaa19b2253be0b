// /G (and its older spelling /D): turning colours off.
#include "RunValues/Colours.h"
#include "RunValues/Options.h"
#include "RunValues/StartupWriters.h"
#include "Engine/CommandLine/SwitchParser.h"

namespace {

constexpr std::uint8_t PlainAttribute = 7;

}  // namespace

void DisableColours(char letter) {
  LooksRec& looks = StartupLooks();
  ColourRec& colours = looks.Colours;
  if (letter == 'A') {
    // Everything but the file names, which keep their configured colour.
    for (std::uint8_t* colour :
         {&colours.LineColour, &colours.BannerColour, &colours.DetailColour,
          &colours.DirectoryColour, &colours.HeadingColour, &colours.HeadingValueColour,
          &colours.SummaryTextColour, &colours.SummaryFigureColour, &colours.PromptColour,
          &colours.DateColour})
      *colour = PlainAttribute;
  } else {
    colours.DirectoryColour = colours.FileColour = PlainAttribute;
  }
  looks.ColourEnabled = false;
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
