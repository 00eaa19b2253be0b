// The registry configuration: extension colours, display colours, preset
// switches and the date pattern. No configuration means a first run.
#include "Configuration/Configuration.h"

#include "RunValues/Options.h"
#include "RunValues/Colours.h"
#include "RunValues/RunEnd.h"
#include "RunValues/StartupWriters.h"
#include "Configuration/ConfigurationKeys.h"
#include "Configuration/DisplayColours.h"
#include "Configuration/RegistryValues.h"
#include "Console/Console.h"
#include "Platform/Registry.h"
#include "Platform/System.h"

namespace {

// Ends the run when a value could not be read as its type; a missing value
// is left to the caller.
void Require(ValueRead result, const std::string& name) {
  if (result == ValueRead::WrongType) FatalError("Invalid data type for '" + name + "'", false);
  if (result == ValueRead::Unfetchable) FatalError("Failed to get data for '" + name + "'", false);
}

// Slots in enumeration order; values past the table's 100 slots and numbers
// that are no attribute (above 255) are ignored.
void ReadExtensionColours(Plat::Handle key) {
  int count = 0;
  for (const std::string& name : ValueNames(key, MaxExtensionColours)) {
    std::uint32_t colour = 0;
    ValueRead result = ReadDwordValue(key, name, colour);
    Require(result, name);
    if (result != ValueRead::Ok || colour > MaxColourAttribute) continue;
    StartupLooks().ExtensionColours[static_cast<std::size_t>(++count)] = {
        name, static_cast<std::uint8_t>(colour)};
  }
  StartupLooks().ExtensionColourCount = count;
}

// Byte k sets display colour k; colours past a short value keep their defaults.
void ReadDisplayColours(Plat::Handle key) {
  std::vector<std::uint8_t> bytes;
  Require(ReadBinaryValue(key, EntitiesValue, DisplayColourCount, bytes), EntitiesValue);
  for (std::size_t k = 0; k < bytes.size(); ++k)
    StartupLooks().Colours.*DisplayColourRows[k].Field = bytes[k];
}

void ReadSettings(Plat::Handle key) {
  Require(ReadStringValue(key, SwitchesValue, StartupLooks().PresetSwitches), SwitchesValue);
  Require(ReadStringValue(key, DateValue, StartupLooks().DateFormat), DateValue);
}

// Said first: OConfig then shows its view in this console, and the run ends
// when it does.
[[noreturn]] void StartConfigurationProgram() {
  const std::string path = Options.ProgramDir + "OConfig.exe";
  BlankRowsFromCursor();  // OConfig's view then starts below the notice, under wine too
  WriteLine("Running OCONFIG so you can set up default configuration (first time only)", 1,
            Looks.Colours.HeadingColour);
  FWriteFinish();
  if (!Plat::LaunchProgram(path, true)) ConfigurationProgramNotStarted(path, Plat::LastError());
  // Nothing was listed: a script must not take the first run for a listing.
  EndProgram(ExitCode::Failed);
}

// OConfig's first write stopped before its end left its mark: the set is
// not whole, and OConfig completes it.
bool FirstWriteUnfinished() {
  RegistryKey settings(Plat::RegOpen(SettingsKey));
  std::uint32_t mark = 0;
  return settings.IsOpen() &&
         ReadDwordValue(settings.Handle, UnfinishedValue, mark) != ValueRead::Missing;
}

}  // namespace

void ReadConfiguration() {
  {
    RegistryKey extensions(Plat::RegOpen(ExtensionsKey));
    if (!extensions.IsOpen() || FirstWriteUnfinished()) StartConfigurationProgram();
    ReadExtensionColours(extensions.Handle);
  }
  {
    RegistryKey display(Plat::RegOpen(DisplayKey));
    if (!display.IsOpen()) FatalError("Unable to read configuration data.", false);
    ReadDisplayColours(display.Handle);
  }
  {
    RegistryKey settings(Plat::RegOpen(SettingsKey));
    if (!settings.IsOpen()) FatalError("Unable to read configuration data.", true);
    ReadSettings(settings.Handle);
  }
}
