#include "OConfig/OConfigView.h"

#include <algorithm>
#include <cctype>

#include "Base/TextCells.h"
#include "Configuration/DisplayColours.h"
#include "Console/Console.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Platform/LocaleTime.h"
#include "Platform/System.h"
#include "Platform/ConfigLock.h"

namespace {

constexpr std::uint8_t TitleAttribute = 15;
constexpr std::uint8_t TextAttribute = 7;
constexpr std::uint8_t CommandAttribute = 11;
constexpr std::uint8_t ProblemAttribute = 12;
constexpr std::uint8_t BlackOnGrey = 0x70;  // colour 0 would be invisible
constexpr int Indent = 3;
constexpr int ValueColumn = 24;
constexpr int UseColumn = 29;
constexpr int ExtensionCellWidth = 12;
constexpr int UsageMeaningColumn = 33;

// Text at a column; returns the column after it. (Placing every piece by
// its column keeps the line's parts where they belong.)
int Put(const std::string& text, int column, std::uint8_t attribute) {
  WriteAt(text, column, attribute);
  return column + TextCells(text);
}

void Heading(const std::string& text) {
  NewLine();
  WriteLine(text, 1, TitleAttribute);
}

// "How to change it" lines: the words, then the command.
void Hint(const std::string& words, const std::string& command) {
  Put(command, Put(words, Indent, TextAttribute) + 1, CommandAttribute);
  NewLine();
}

void ShowDisplayColours(const ConfigurationSet& set) {
  Heading("Display colours");
  for (std::size_t k = 0; k < DisplayColourCount; ++k) {
    const std::uint8_t colour = set.Display[k];
    WriteAt(DisplayColourRows[k].Name, Indent, colour);
    WriteAt(std::to_string(colour), ValueColumn, TextAttribute);
    WriteAt(DisplayColourRows[k].Use, UseColumn, TextAttribute);
    NewLine();
  }
  int column = Put("Colour numbers:", Indent, TextAttribute);
  for (int colour = 0; colour < 16; ++colour)
    column = Put(std::to_string(colour), column + 1, colour == 0 ? BlackOnGrey : colour);
  Put("(plus 16 x background)", column + 2, TextAttribute);
  NewLine();
  Hint("Change one:", "OConfig /COLOUR:Directory=14");
}

// The lister reads the first values of the key, as many as its table holds.
void ShowExtensions(const ConfigurationSet& set, std::size_t unconvertibleNames) {
  constexpr std::size_t TableSlots = MaxExtensionColours;
  const std::size_t stored = set.Extensions.size();
  std::string count = std::to_string(stored);
  if (stored > TableSlots) count += " stored; orvl uses the first " + std::to_string(TableSlots);
  Heading("Extension colours (" + count + ")");
  if (set.Extensions.empty()) WriteLine("none: every file in FileColour", Indent, TextAttribute);
  const int perLine = std::max(1, (ScreenWidth() - Indent) / ExtensionCellWidth);
  int place = 0;
  for (std::size_t k = 0; k < std::min(stored, TableSlots); ++k) {
    const ColsType& slot = set.Extensions[k];
    WriteAt(slot.Extension + "=" + std::to_string(slot.Colour), Indent + place * ExtensionCellWidth,
            slot.Colour);
    if (++place == perLine) {
      NewLine();
      place = 0;
    }
  }
  if (place > 0) NewLine();
  if (stored > TableSlots)
    WriteLine("and " + std::to_string(stored - TableSlots) + " more, which orvl does not use",
              Indent, TextAttribute);
  if (unconvertibleNames > 0)
    WriteLine(std::to_string(unconvertibleNames) +
                  " more with names that cannot be read, left as they are",
              Indent, TextAttribute);
  Hint("Add or change one:", "OConfig /EXT:TXT=11");
  Hint("Remove one:", "OConfig /-EXT:TXT");
}

void ShowSwitches(const ConfigurationSet& set) {
  Heading("Preset switches");
  WriteLine(set.Switches.empty() ? "none" : set.Switches, Indent, TextAttribute);
  Hint("Change them:", "OConfig /SWITCHES:\"/W /O-S\"   (none: OConfig /SWITCHES:)");
}

void ShowDate(const ConfigurationSet& set) {
  Heading("Date pattern");
  int column = Put(set.Date.empty() ? "the locale's" : set.Date, Indent, TextAttribute);
  column = Put("today:", column + 3, TextAttribute);
  Put(FormatDateTime(set.Date, EncodeDateTime(Plat::LocalNow())), column + 1, TitleAttribute);
  NewLine();
  Hint("Change it:", "OConfig /DATE:\"dd-mmm-yyyy hh:nn\"   (the locale's: OConfig /DATE:)");
}

}  // namespace

void ShowConfiguration(const ConfigurationSet& set, std::size_t unconvertibleNames) {
  WriteLine("Orvalist configuration", 1, TitleAttribute);
  ShowDisplayColours(set);
  ShowExtensions(set, unconvertibleNames);
  ShowSwitches(set);
  ShowDate(set);
  NewLine();
  Hint("Back to the defaults:", "OConfig /DEFAULTS");
  Hint("Every switch:", "OConfig /?");
}

// Every line fits 80 columns: an example cut at the edge would be copied
// as a broken command, so examples have lines of their own.
void ShowOConfigUsage() {
  struct UsageRow {
    const char* Command;
    const char* Meaning;
    const char* Example;  // null: none
  };
  const UsageRow rows[] = {
      {"OConfig", "show the configuration", nullptr},
      {"OConfig /EXT:ext=colour", "colour names with that extension", "/EXT:TXT=11"},
      {"OConfig /-EXT:ext", "remove an extension's colour", nullptr},
      {"OConfig /COLOUR:name=colour", "set a display colour", "/COLOUR:Directory=14"},
      {"OConfig /SWITCHES:\"text\"", "set the preset switches", "/SWITCHES:\"/W /O-S\""},
      {"OConfig /DATE:\"pattern\"", "set the date pattern", "/DATE:\"dd-mmm-yyyy hh:nn\""},
      {"OConfig /DEFAULTS", "restore the default configuration", nullptr},
      {"OConfig /INSTALL", "defaults if none, and this folder on the PATH", nullptr},
      {"OConfig /UNINSTALL", "take this folder off the PATH", nullptr},
      {"OConfig /?", "show this help", nullptr},
  };
  WriteLine("OConfig " ORVL_VERSION " shows and changes the Orvalist configuration.", 1,
            TitleAttribute);
  NewLine();
  for (const UsageRow& row : rows) {
    WriteAt(row.Command, Indent, CommandAttribute);
    WriteAt(row.Meaning, UsageMeaningColumn, TextAttribute);
    NewLine();
    if (!row.Example) continue;
    Put(row.Example, Put("e.g.", UsageMeaningColumn + 2, TextAttribute) + 1, CommandAttribute);
    NewLine();
  }
  NewLine();
  WriteLine("Switches are applied in order, then each changed setting is written; a", 1,
            TextAttribute);
  WriteLine("failed write puts back what was written. If OConfig is stopped part-way,", 1,
            TextAttribute);
  WriteLine("each setting holds its old or new value: give the same switches again.", 1,
            TextAttribute);
  WriteLine("OConfig alone shows the configuration and repairs what orvl cannot use.", 1,
            TextAttribute);
  WriteLine("A colour is a number: foreground 0-15 plus 16 x background 0-15.", 1, TextAttribute);
  WriteLine("/INSTALL and /UNINSTALL stand alone and need administrator rights.", 1, TextAttribute);
}

// A message too long for the screen is broken at blanks: cut, it would lose
// its end.
void ShowProblem(const std::string& message) { WriteWrappedLine(message, 1, ProblemAttribute); }

void ShowNotice(const std::string& message) { WriteWrappedLine(message, 1, TextAttribute); }

void ShowFaults(const std::vector<ConfigurationFault>& faults, bool repaired) {
  if (faults.empty()) return;
  WriteLine(repaired ? "OConfig repaired what orvl could not use:"
                     : "orvl cannot use what is stored here:",
            1, ProblemAttribute);
  for (const ConfigurationFault& fault : faults) {
    WriteLine(fault.What, Indent, TitleAttribute);
    WriteLine(fault.Why, Indent + 2, TextAttribute);
    WriteLine((repaired ? "now " : "repair: ") + fault.Repair, Indent + 2, TextAttribute);
  }
  if (!repaired)
    WriteLine("OConfig repairs these (and only these) whenever it can write the configuration.", 1,
              TextAttribute);
  NewLine();
}

void ShowLockFailure(std::uint32_t error, std::uint32_t timeoutMs) {
  if (error == Plat::ErrorWaitTimeout) {
    ShowProblem("OConfig could not change the configuration: another OConfig has been changing");
    ShowProblem("it for " + std::to_string(timeoutMs / 1000) +
                " seconds. Nothing was changed; try again when it has finished.");
    return;
  }
  std::string reason = Plat::SystemErrorText(error);
  if (reason.empty()) reason = "Error " + std::to_string(error);
  ShowProblem("OConfig could not take its turn to change the configuration: " + reason + ".");
  ShowProblem("Nothing was changed.");
}

void ShowWriteFailure(std::uint32_t error, const std::string& what, bool putBack) {
  std::string reason = Plat::SystemErrorText(error);
  if (reason.empty()) reason = "Error " + std::to_string(error);
  ShowProblem("OConfig could not write " + what + ": " + reason + ".");
  if (error == Plat::ErrorAccessDenied)
    ShowProblem("Writing under HKEY_LOCAL_MACHINE needs administrator rights.");
  std::string left = what;
  left[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(left[0])));
  if (putBack)
    ShowProblem(left + " was left as it was.");
  else
    ShowProblem("Some settings could not be put back: run OConfig to see what is stored.");
}
