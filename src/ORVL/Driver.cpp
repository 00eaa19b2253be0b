#include "ORVL/Driver.h"

#include "Common/Colours.h"
#include "Common/Entries/Entries.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"
#include "Configuration/Configuration.h"
#include "Configuration/PlatformChecks.h"
#include "Console/Console.h"
#include "Engine/Batch/Batch.h"
#include "Engine/CommandLine/CommandLine.h"
#include "Engine/CommandLine/FileSpec.h"
#include "Engine/CommandLine/SwitchParser.h"
#include "Engine/CommandLine/Usage.h"
#include "Engine/Dates/DateFormatLocale.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/Summary.h"
#include "Engine/Reports/Reports.h"
#include "Engine/Scan/Scan.h"
#include "ORVL/DirectorySteps.h"
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
  SetColumns({{'s', 7}, {'n', 0}});
  ProgramDir = ProgramDirectory();
  ReadLocaleSeparators();
}

void SetDescriptionFormat() {
  if (!Options.ShowDescriptions) return;
  StartupOptions().SavedColumns = Options.Columns;
  StartupOptions().SavedColumnCount = Options.ColumnCount;
  if (!Options.FormatChosen) SetColumns({{'s', 7}, {'f', 13}, {'d', 0}});
}

void WidenYears() {
  if (!Options.FourDigitYears || DateFormat.find("yyyy") != std::string::npos) return;
  std::size_t at = DateFormat.find("yy");
  if (at != std::string::npos) DateFormat.insert(at, "yy");
}

void StartUp() {
  SetInitialState();
  ReadConfiguration();
  FileList.clear();
  CheckPlatform();
  SplitCommandLine();
  CheckNtOptions();
  ResolveTimeKind();
  if (Options.ShowHelp || Options.BadOption) ShowUsage();
  if (Options.Bare)
    InitialiseOutput();
  else
    BeginOutput();
  if (Options.Recursive || Options.Tree) {
    PendingDirs.clear();
    PendingDirsCreated = true;
  }
  if (Options.Tree) ShowTree();
  if (Options.DriveInfo) ShowDriveStatistics();
  SetDescriptionFormat();
  StartupOptions().AliasesListed = ListingUsesAliases();
  if (Options.BatchMode) {
    OpenBatchFile();
    RunEndAction = CloseBatchFile;
  }
  WidenYears();
}

void WriteFreeSpaceLine() {
  WriteAt(FreeSpaceText(), 1, Colours.SummaryFigureColour);
  WriteText(" free", Colours.SummaryTextColour);
  NewLine();
}

void TakePendingDirectory() {
  std::string next = PendingDirs.back();
  PendingDirs.pop_back();
  RunSpec.SearchSpec = next + "\\" + RunSpec.FileMask;
  FirstDirectory = false;
  FileList.clear();
  if (DescriptionsLoaded) {
    DiscardDescriptions();
    DescriptionsLoaded = false;
  }
  ParseFileSpec(RunSpec.SearchSpec);
}

void WriteGrandTotal() {
  if (TotalFiles == 0) {
    if (Options.Bare) EndProgram(ExitCode::NothingFound);
    WriteLine("No files found", 1, Colours.HeadingColour);
    if (Options.ShowFree && !RunSpec.NoClusterSize) WriteFreeSpaceLine();
    FWriteFinish();
    EndProgram(ExitCode::NothingFound);
  }
  if (ShownDirCount > 1 && !Options.Bare) {
    WriteLine("Summary Total: ", 1, Colours.SummaryTextColour);
    ShowSummary(TotalFiles, ShownDirCount - 1, TotalBytes, TotalAllocated);
  }
  if (Options.ShowFree && !RunSpec.NoClusterSize && !Options.Bare) WriteFreeSpaceLine();
  FWriteFinish();
}

// The walk ends here alone: after the one directory of a plain listing, or
// when no directory is left to list.
void DirectoryLoop() {
  DirectoryRead read;  // its buffers serve every directory of the walk
  for (;;) {
    DirFileCount = 0;
    DirDirCount = 0;
    const DirectoryLayout layout = ScanDirectory(RunSpec.SearchSpec, read);
    if (ListedCount > 0) WriteListing(layout);
    if (!Options.Recursive) {
      FWriteFinish();
      return;
    }
    if (PendingDirs.empty()) {
      WriteGrandTotal();
      return;
    }
    TakePendingDirectory();
  }
}

}  // namespace

int RunOrvl() {
  try {
    StartUp();
    DirectoryLoop();
    if (Options.BatchMode) ReportBatchLeftOuts();
  } catch (const ProgramEnded& end) {
    return EndRun(end.ExitCode);
  }
  return EndRun(0);
}
