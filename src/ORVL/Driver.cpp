#include "ORVL/Driver.h"

#include "Common/Colours.h"
#include "Common/Entries/DirectoryListing.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"
#include "Console/Console.h"
#include "Engine/Batch/Batch.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/Summary.h"
#include "Engine/Reports/Reports.h"
#include "Engine/Scan/Scan.h"
#include "ORVL/DirectorySteps.h"
#include "ORVL/StartUp.h"
#include "ORVL/WalkReads.h"
#include "Platform/System.h"

namespace {

void WriteFreeSpaceLine() {
  WriteAt(FreeSpaceText(), 1, Looks.Colours.SummaryFigureColour);
  WriteText(" free", Looks.Colours.SummaryTextColour);
  NewLine();
}

// Pops the next directory of the walk and takes its read. Its directory and
// search path are the root's pattern under its own path: the command line is
// not read again.
ReadRequest TakePendingDirectory(RunWalkRec& walk, WalkReadAhead& ahead, DirectoryRead& read) {
  const std::string next = std::move(walk.PendingDirs.back());
  walk.PendingDirs.pop_back();
  walk.FirstDirectory = false;
  return ahead.Take(next, read);
}

// The grand total's exit code: directories passed over make it an error,
// which a script must not take for a whole listing.
ExitCode WalkExitCode(int unreadable, ExitCode otherwise) {
  return unreadable > 0 ? ExitCode::Failed : otherwise;
}

ExitCode WriteGrandTotal(const RunWalkRec& walk, int unreadable) {
  if (walk.TotalFiles == 0) {
    // A bare walk that finds nothing and met no error ends silently.
    if (Options.Bare && unreadable == 0) return ExitCode::NothingFound;
    if (!Options.Bare) WriteLine("No files found", 1, Looks.Colours.HeadingColour);
    if (Options.ShowFree && !RunSpec.NoClusterSize && !Options.Bare) WriteFreeSpaceLine();
    WriteUnreadableCount(unreadable);
    FWriteFinish();
    return WalkExitCode(unreadable, ExitCode::NothingFound);
  }
  if (walk.ShownDirCount > 1 && !Options.Bare) {
    WriteLine("Summary Total: ", 1, Looks.Colours.SummaryTextColour);
    ShowSummary(walk.TotalFiles, walk.ShownDirCount - 1, walk.TotalBytes, walk.TotalAllocated);
  }
  if (Options.ShowFree && !RunSpec.NoClusterSize && !Options.Bare) WriteFreeSpaceLine();
  WriteUnreadableCount(unreadable);
  FWriteFinish();
  return WalkExitCode(unreadable, ExitCode::Done);
}

// The walk ends here alone: after the one directory of a plain listing, or
// when no directory is left to list. Workers read the directories next on
// the stack; everything else stays on this thread.
ExitCode DirectoryLoop() {
  RunWalkRec walk;
  DirectoryRead read;
  // One listing for the whole walk: its buffers go back to the read for the
  // next directory, and its date columns only widen.
  DirectoryListing listing;
  ReadRequest request = RequestFor(RunSpec.CurrentDir, RunSpec.SearchSpec);
  ReadDirectory(request, read);
  // In this scope, so that every end of the run stops and joins the workers.
  WalkReadAhead ahead(request, Options.Recursive);
  int unreadable = 0;
  for (;;) {
    DirectoryLayout layout;
    if (!ScanDirectory(request, read, walk, listing, layout)) ++unreadable;
    if (Options.Recursive) ahead.Plan(walk.PendingDirs);
    if (listing.ListedCount > 0) ShowDirectory(listing, layout);
    if (!Options.Recursive) {
      FWriteFinish();
      return ExitCode::Done;
    }
    if (walk.PendingDirs.empty()) return WriteGrandTotal(walk, unreadable);
    request = TakePendingDirectory(walk, ahead, read);
  }
}

}  // namespace

int RunOrvl() {
  try {
    StartUp();
    const ExitCode code = DirectoryLoop();
    if (Options.BatchMode) {
      ReportBatchLeftOuts();
      // A batch file that is not there must not look written to a script.
      if (!PutBatchFileInPlace()) EndProgram(ExitCode::Failed);
    }
    if (code == ExitCode::NothingFound) EndProgram(code);
    return EndRun(static_cast<int>(code));
  } catch (const ProgramEnded& end) {
    return EndRun(end.ExitCode);
  }
}
