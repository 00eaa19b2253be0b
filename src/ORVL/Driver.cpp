#include "ORVL/Driver.h"

#include <new>

#include "RunValues/Colours.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "RunValues/RunState.h"
#include "Console/Console.h"
#include "Engine/Batch/Batch.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/Summary.h"
#include "Engine/Reports/Reports.h"
#include "Engine/Scan/Scan.h"
#include "Engine/Walk/DirectoryWalk.h"
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

// A plain listing is a walk of one directory. Workers read the directories
// next on the stack; everything else stays on this thread.
ExitCode DirectoryLoop(BatchFile& batch) {
  RunWalkRec walk;
  // One listing for the whole walk: its buffers go back to the read for the
  // next directory, and its date columns only widen.
  DirectoryListing listing;
  DirectoryLayout layout;
  WalkRead read{RequestFor(RunSpec.CurrentDir, RunSpec.SearchSpec), {}};
  ReadDirectory(read.Request, read.Read);
  // In this scope, so that every end of the run stops and joins the workers.
  WalkReadAhead ahead(read.Request, Options.Recursive,
                      Options.BatchMode ? batch.FileNames() : std::vector<std::string>());
  int unreadable = 0;
  const auto enter = [&](const std::string&, WalkRead& taken) {
    if (!ScanDirectory(taken.Request, taken.Read, walk, listing, layout,
                       Options.BatchMode ? &batch : nullptr))
      ++unreadable;
    walk.FirstDirectory = false;
  };
  const auto show = [&] {
    if (listing.ListedCount > 0) ShowDirectory(listing, layout);
  };
  WalkDirectories(ahead, walk.PendingDirs, read.Request.Directory, read, enter, show);
  if (Options.Recursive) return WriteGrandTotal(walk, unreadable);
  FWriteFinish();
  return ExitCode::Done;
}

}  // namespace

// Every end comes here: the normal end, and each EndProgram unwinding from
// wherever the run was. The batch file's fate is settled first, then the
// output's.
int RunOrvl() {
  BatchFile batch;
  int exitCode = 0;
  try {
    try {
      StartUp(batch);
      const ExitCode code = DirectoryLoop(batch);
      if (Options.BatchMode) {
        batch.ReportLeftOuts();
        // A batch file that is not there must not look written to a script.
        if (!batch.PutInPlace()) EndProgram(ExitCode::Failed);
      }
      if (code == ExitCode::NothingFound) EndProgram(code);
      exitCode = static_cast<int>(code);
    } catch (const std::bad_alloc&) {
      // Anywhere, a worker's read included: the buffers are gone by now, so
      // the report has room, and the end is the one every other end takes.
      FatalError("Not enough memory to go on", false);
    }
  } catch (const ProgramEnded& end) {
    exitCode = end.ExitCode;
  } catch (const std::bad_alloc&) {
    exitCode = static_cast<int>(ExitCode::Failed);
  }
  if (!batch.Close(exitCode) && JobDone(exitCode)) exitCode = static_cast<int>(ExitCode::Failed);
  return EndRun(exitCode);
}
