#include "ORVL/Driver.h"

#include "Common/Colours.h"
#include "Common/Entries.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"
#include "Engine/Batch.h"
#include "Engine/CommandLine.h"
#include "Engine/Descriptions.h"
#include "Engine/FileSpec.h"
#include "Engine/Listing.h"
#include "Engine/Reports.h"
#include "Engine/Scan.h"
#include "Engine/Summary.h"
#include "Engine/SwitchParser.h"
#include "Engine/Usage.h"
#include "Platform/Platform.h"
#include "Support/Configuration.h"
#include "Support/PlatformChecks.h"
#include "TurboScroll/TurboScroll.h"

namespace {

void SetInitialState() {
  Options.Turbo = false;
  SetColumns({{'s', 7}, {'n', 0}});
  std::vector<std::string> arguments = Plat::CommandArguments();
  std::string program = arguments.empty() ? std::string() : arguments.front();
  std::size_t slash = program.find_last_of("\\/:");
  ProgramDir = (slash == std::string::npos ? std::string() : program.substr(0, slash)) + "\\";
  DateSeparator = Plat::LocaleInfo(Plat::LocaleItem::DateSeparator);
  TimeSeparator = Plat::LocaleInfo(Plat::LocaleItem::TimeSeparator);
}

void SetDescriptionFormat() {
  if (!Options.ShowDescriptions) return;
  Options.SavedColumns = Options.Columns;
  Options.SavedColumnCount = Options.ColumnCount;
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
  if (Options.BatchMode) OpenBatchFile();
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
  SearchSpec = next + "\\" + FileMask;
  FirstDirectory = false;
  FileList.clear();
  if (DescriptionsLoaded) DiscardDescriptions();
  ParseFileSpec(SearchSpec);
}

void WriteGrandTotal() {
  if (TotalFiles == 0) {
    if (Options.Bare) EndProgram();
    WriteLine("No files found", 1, Colours.HeadingColour);
    if (Options.ShowFree && !NoClusterSize) WriteFreeSpaceLine();
    FWriteFinish();
    EndProgram();
  }
  if (ShownDirCount > 1 && !Options.Bare) {
    WriteLine("Summary Total: ", 1, Colours.SummaryTextColour);
    ShowSummary(TotalFiles, ShownDirCount - 1, TotalBytes, TotalAllocated);
  }
  if (Options.ShowFree && !NoClusterSize && !Options.Bare) WriteFreeSpaceLine();
  FWriteFinish();
  Done = true;
}

void DirectoryLoop() {
  while (!Done) {
    DirFileCount = 0;
    DirDirCount = 0;
    ScanDirectory(SearchSpec);
    if (ListedCount > 0) ShowListing();
    if (Done || !Options.Recursive) continue;
    if (!PendingDirs.empty())
      TakePendingDirectory();
    else
      WriteGrandTotal();
  }
}

}  // namespace

int RunOrvl() {
  try {
    StartUp();
    DirectoryLoop();
    if (Options.BatchMode) CloseBatchFile();
  } catch (const ProgramEnded& end) {
    Plat::StdOutFlush();
    return end.ExitCode;
  }
  Plat::StdOutFlush();
  return 0;
}
