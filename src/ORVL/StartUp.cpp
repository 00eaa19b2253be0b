// Start-up: the only part of the driver that writes the settled values.
#include "ORVL/StartUp.h"

#include <string>
#include <vector>

#include "RunValues/Colours.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "RunValues/StartupWriters.h"
#include "Configuration/Configuration.h"
#include "Configuration/PlatformChecks.h"
#include "Configuration/PresetCheck.h"
#include "Console/Console.h"
#include "Engine/Batch/Batch.h"
#include "Engine/CommandLine/CommandLine.h"
#include "Engine/CommandLine/PresetLayouts.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "Engine/CommandLine/Usage.h"
#include "Engine/Dates/DateFormatLocale.h"
#include "Engine/Dates/DatePattern.h"
#include "Engine/Listing/ColumnTable.h"
#include "Engine/Reports/Reports.h"
#include "Platform/System.h"

namespace {

// The directory of the program file with its trailing backslash; empty when
// the program was started by its bare name, so that sibling programs are
// looked for in the working directory rather than in the drive's root.
std::string ProgramDirectory() {
  std::vector<std::string> arguments = Plat::CommandArguments();
  const std::string program = arguments.empty() ? std::string() : arguments.front();
  std::size_t end = program.find_last_of("\\/:");
  if (end == std::string::npos) return {};
  if (program[end] == ':') return program.substr(0, end + 1);
  return program.substr(0, end) + "\\";
}

void SetInitialState() {
  StartupOptions().Turbo = false;
  SetPresetLayout(StartupOptions(), PresetLayout::SizeAndName);
  StartupOptions().ProgramDir = ProgramDirectory();
  ReadLocaleSeparators(StartupOptions());
}

void SetDescriptionFormat() {
  if (!Options.ShowDescriptions) return;
  StartupOptions().SavedColumns = Options.Columns;
  StartupOptions().SavedColumnCount = Options.ColumnCount;
  if (!Options.FormatChosen) SetPresetLayout(StartupOptions(), PresetLayout::Descriptions);
}

void WidenYears() {
  if (!Options.FourDigitYears || Looks.DateFormat.find("yyyy") != std::string::npos) return;
  std::size_t at = Looks.DateFormat.find("yy");
  if (at != std::string::npos) StartupLooks().DateFormat.insert(at, "yy");
}

// The listing's dates use the pattern parsed once, with the separators settled.
void SettleDatePattern() { StartupLooks().DateSteps = DatePatternSteps(Looks.DateFormat); }

}  // namespace

void StartUp(BatchFile& batch) {
  SetInitialState();
  ReadConfiguration();
  CheckPlatform();
  RefuseUnusablePresetSwitches(Looks.PresetSwitches);
  SplitCommandLine();
  CheckNtOptions();
  ResolveTimeKind();
  if (Options.ShowHelp || Options.BadOption) ShowUsage();
  if (Options.Bare)
    InitialiseOutput();
  else
    BeginOutput();
  if (Options.Tree) ShowTree();
  if (Options.DriveInfo) ShowDriveStatistics();
  SetDescriptionFormat();
  StartupOptions().AliasesListed = ListingUsesAliases();
  if (Options.BatchMode) batch.Open();
  WidenYears();
  SettleDatePattern();
}
