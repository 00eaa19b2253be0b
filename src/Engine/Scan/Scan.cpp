// ScanDirectory: one pass over a directory, once per file specification.
#include "Engine/Scan/Scan.h"

#include <algorithm>

#include "Common/Colours.h"
#include "Common/Entries/Entries.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Engine/Batch/Batch.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/Summary.h"
#include "Engine/Scan/ByteCount.h"
#include "Engine/Scan/ScanEnumeration.h"
#include "Engine/Scan/ScanSteps.h"
#include "Console/Console.h"

namespace {

std::string SpecificationPath(std::size_t index, const std::string& searchSpec) {
  if (index == 0) return searchSpec;
  DirShown = true;
  return CurrentDir + FileSpecs[index];
}

// A walk counts a directory as shown once any specification found something
// there (or could not reach it); a plain "no match" hides it.
void NoteRecursiveResult(std::uint32_t code) {
  if (code == Plat::ErrorFileNotFound) {
    DirShown = false;
  } else if (!ScanWork.AlreadyCounted) {
    ++ShownDirCount;
    DirShown = true;
    ScanWork.AlreadyCounted = true;
  }
}

void EnumerateSpecification(const std::string& path, bool collectSubdirs) {
  Plat::FindData data;
  Enumeration search;
  std::uint32_t code = EnumerateFirst(search, path, data);
  ScanWork.LastFindCode = code;
  ReportFindError(code);
  if (Options.Recursive) NoteRecursiveResult(code);
  if (collectSubdirs) ScanWork.SubdirsCollected = true;
  if (code != 0) return;
  do {
    if (collectSubdirs) CollectSubdirectory(data);
    ScanEntry(data);
  } while (EnumerateNext(search, data));
  EnumerateClose(search);
}

void AddToTotals() {
  if (DirShown || !Options.Recursive) {
    ListedCount = PlacedEntryCount();
    TotalFiles += DirFileCount;
    TotalBytes = AddByteCounts(TotalBytes, DirBytes);
    if (!NoClusterSize) TotalAllocated = AddByteCounts(TotalAllocated, DirAllocated);
  } else {
    ListedCount = 0;
  }
}

// A bare listing that finds nothing ends silently: not even the console
// restore writes anything, as at the end of an empty recursive walk.
[[noreturn]] void EndWithNothingFound() {
  if (Options.Bare) EndProgram(ExitCode::NothingFound);
  NewLine();
  WriteAt(ScanWork.LastFindCode == Plat::ErrorFileNotFound
              ? "No files found matching search specification"
              : "No files found",
          1, Colours.HeadingColour);
  ShowSummary(0, 0, NoCountsMarker, 0);
  FWriteFinish();
  EndProgram(ExitCode::NothingFound);
}

void FinishShownDirectory() {
  if (!Options.Bare) NewLine();
  PrepareDescriptions();
}

}  // namespace

void ScanDirectory(const std::string& searchSpec) {
  StartScanWork();
  std::size_t specCount = std::max<std::size_t>(1, FileSpecs.size());
  // Under /S a search that delivers every entry also yields the subdirectories,
  // in the same order as a second search would.
  bool collectSubdirs = Options.Recursive && DeliversEveryEntry(searchSpec);
  for (std::size_t index = 0; index < specCount; ++index)
    EnumerateSpecification(SpecificationPath(index, searchSpec), collectSubdirs && index == 0);
  // Before the header line, so a failing batch file is reported on a line of its own.
  if (Options.BatchMode) FlushBatchFile();
  if (!DirShown && PlacedEntryCount() > 0) DirShown = true;
  AddToTotals();
  WriteHeaderLine();
  if (ListedCount == 0 && !Options.Recursive) EndWithNothingFound();
  if (Options.Recursive && !ScanWork.SubdirsCollected) CollectSubdirectories();
  if (DirShown) FinishShownDirectory();
}
