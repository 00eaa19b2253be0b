#include "ORVL/DirectorySteps.h"

#include <algorithm>

#include "Common/Colours.h"
#include "Common/Entries/Entries.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"
#include "Console/Console.h"
#include "Disk/ClusterRounding.h"
#include "Engine/Batch/Batch.h"
#include "Engine/Descriptions/Descriptions.h"
#include "Engine/Listing/Listing.h"
#include "Engine/Listing/Summary.h"
#include "Engine/Scan/Scan.h"
#include "Engine/Sort/Sort.h"
#include "Engine/Wildcards/WildcardMask.h"

namespace {

// A walk counts a directory as shown once any specification found something
// there (or could not reach it); a plain "no match" hides it.
void NoteRecursiveResult(std::uint32_t code, bool& alreadyCounted) {
  if (code == Plat::ErrorFileNotFound) {
    ThisDir.DirShown = false;
  } else if (!alreadyCounted) {
    ++RunWalk.ShownDirCount;
    ThisDir.DirShown = true;
    alreadyCounted = true;
  }
}

// The batch line takes the long name as delivered: under /F the entry's Name
// already holds the directory, which the line must name only once.
void WriteBatchLines(std::size_t from) {
  if (!Options.BatchMode) return;
  const std::size_t head = Options.FullPath ? ThisDir.CurrentDir.size() : 0;
  for (std::size_t at = from; at < ThisDir.FileList.size(); ++at)
    WriteBatchLine(std::string_view(ThisDir.FileList[at]->Name).substr(head));
}

void ReportSearch(const std::string& path, const SearchResult& search) {
  if (search.InvalidMaskPosition != 0) {
    std::string_view mask(path);
    mask.remove_prefix(mask.find_last_of("\\:") + 1);
    InvalidMaskError(mask, search.InvalidMaskPosition);
  }
  if (search.Code == 0) return;
  EnsureOutput();
  if (!FindErrorGoesOn(search.Code))
    FatalError(FindErrorMessage(search.Code), true, FindErrorExitCode(search.Code));
}

// Each search is reported, then its entries filtered, in the order of the
// file specifications: a later failure ends the run after the earlier lines.
void FilterSearches(const ReadRequest& request, const DirectoryRead& read) {
  bool alreadyCounted = false;
  std::size_t from = 0;
  for (std::size_t index = 0; index < read.Searches.size(); ++index) {
    const SearchResult& search = read.Searches[index];
    if (index > 0) ThisDir.DirShown = true;
    ReportSearch(request.Paths[index], search);
    if (Options.Recursive) NoteRecursiveResult(search.Code, alreadyCounted);
    const std::size_t listed = ThisDir.FileList.size();
    ScanEntries(read, from, search.EntriesEnd);
    WriteBatchLines(listed);
    from = search.EntriesEnd;
  }
}

void AddToTotals() {
  if (ThisDir.DirShown || !Options.Recursive) {
    ThisDir.ListedCount = PlacedEntryCount();
    RunWalk.TotalFiles += ThisDir.DirFileCount;
    RunWalk.TotalBytes = AddByteCounts(RunWalk.TotalBytes, ThisDir.DirBytes);
    if (!RunSpec.NoClusterSize)
      RunWalk.TotalAllocated = AddByteCounts(RunWalk.TotalAllocated, ThisDir.DirAllocated);
  } else {
    ThisDir.ListedCount = 0;
  }
}

// A bare listing that finds nothing ends silently: not even the console
// restore writes anything, as at the end of an empty recursive walk.
[[noreturn]] void EndWithNothingFound(std::uint32_t code) {
  if (Options.Bare) EndProgram(ExitCode::NothingFound);
  ShowNothingFound(code);
  FWriteFinish();
  EndProgram(ExitCode::NothingFound);
}

DirectoryLayout FinishShownDirectory() {
  if (!Options.Bare) NewLine();
  return PrepareDescriptions();
}

// Below the root of a walk, a directory the system will not open (access
// denied, a name it cannot take, a file where the directory was) is passed
// over; a missing drive or an invalid mask still ends the run.
std::uint32_t UnreadableCode(const DirectoryRead& read) {
  if (!Options.Recursive || RunWalk.FirstDirectory || RunSpec.DriveInvalid) return 0;
  for (const SearchResult& search : read.Searches)
    if (search.Code != 0 && search.InvalidMaskPosition == 0 && !FindErrorGoesOn(search.Code))
      return search.Code;
  return 0;
}

// The same two lines a fatal error writes, then the walk goes on.
void ReportUnreadable(std::uint32_t code) {
  EnsureOutput();
  WriteAt("Path: ", 1, Looks.Colours.HeadingColour);
  WriteAt(ThisDir.SearchSpec, 7, Looks.Colours.HeadingValueColour);
  NewLine();
  WriteLine(FindErrorMessage(code), 1, Looks.Colours.HeadingColour);
  if (!Options.Bare) NewLine();
}

}  // namespace

ReadRequest RequestFor(const std::string& searchSpec) {
  ReadRequest request;
  request.Directory = ThisDir.CurrentDir;
  request.Paths.push_back(searchSpec);
  for (std::size_t index = 1; index < RunSpec.FileSpecs.size(); ++index)
    request.Paths.push_back(ThisDir.CurrentDir + RunSpec.FileSpecs[index]);
  request.OwnMatcher = Options.RegexWildcards;
  request.Subdirectories = Options.Recursive;
  request.Aliases = Options.AliasesListed;
  return request;
}

bool ScanDirectory(const ReadRequest& request, const DirectoryRead& read, DirectoryLayout& layout) {
  StartScanWork();
  layout = {};
  if (const std::uint32_t code = UnreadableCode(read)) {
    ReportUnreadable(code);
    ThisDir.DirShown = false;
    ThisDir.ListedCount = 0;
    return false;
  }
  FilterSearches(request, read);
  // Before the header line, so a failing batch file is reported on a line of its own.
  if (Options.BatchMode) FlushBatchFile();
  if (!ThisDir.DirShown && PlacedEntryCount() > 0) ThisDir.DirShown = true;
  AddToTotals();
  WriteHeaderLine();
  if (ThisDir.ListedCount == 0 && !Options.Recursive)
    EndWithNothingFound(read.Searches.back().Code);
  if (Options.Recursive)
    RunWalk.PendingDirs.insert(RunWalk.PendingDirs.end(), read.Subdirectories.begin(),
                               read.Subdirectories.end());
  if (ThisDir.DirShown) layout = FinishShownDirectory();
  return true;
}

void WriteListing(DirectoryLayout directory) {
  // With /B the entries are listed even when only a summary was asked for.
  if (!Options.SummaryOnly || Options.Bare) SortFileList();
  ShowListing(directory);
  // In a walk, an empty line before the next directory.
  if (Options.Recursive && !Options.Bare) NewLine();
}
