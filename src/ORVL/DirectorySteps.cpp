#include "ORVL/DirectorySteps.h"

#include <algorithm>

#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
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
void NoteRecursiveResult(std::uint32_t code, RunWalkRec& walk, DirectoryListing& listing,
                         bool& alreadyCounted) {
  if (code == Plat::ErrorFileNotFound) {
    listing.DirShown = false;
  } else if (!alreadyCounted) {
    ++walk.ShownDirCount;
    listing.DirShown = true;
    alreadyCounted = true;
  }
}

// The batch line takes the long name as delivered: under /F the entry's Name
// already holds the directory, which the line must name only once.
void WriteBatchLines(const DirectoryListing& listing, std::size_t from, BatchFile* batch) {
  if (!batch) return;
  const std::size_t head = listing.NameHead().size();
  for (std::size_t at = from; at < listing.Accepted; ++at)
    batch->WriteLine(listing.CurrentDir, listing.PlacedName(listing.Records[at]).substr(head));
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
void FilterSearches(const ReadRequest& request, const DirectoryRead& read, RunWalkRec& walk,
                    DirectoryListing& listing, BatchFile* batch) {
  bool alreadyCounted = false;
  std::size_t from = 0;
  ListingFilter filter(listing, batch ? batch->WorkDirectory() : std::string());
  for (std::size_t index = 0; index < read.Searches.size(); ++index) {
    const SearchResult& search = read.Searches[index];
    if (index > 0) listing.DirShown = true;
    ReportSearch(request.Paths[index], search);
    if (Options.Recursive) NoteRecursiveResult(search.Code, walk, listing, alreadyCounted);
    const std::size_t listed = listing.Accepted;
    filter.Filter(from, search.EntriesEnd);
    WriteBatchLines(listing, listed, batch);
    from = search.EntriesEnd;
  }
  filter.Finish();
}

void AddToTotals(RunWalkRec& walk, DirectoryListing& listing) {
  if (listing.DirShown || !Options.Recursive) {
    listing.ListedCount = static_cast<std::int32_t>(listing.FileList.size());
    walk.TotalFiles += listing.DirFileCount;
    walk.TotalBytes = AddByteCounts(walk.TotalBytes, listing.DirBytes);
    if (!RunSpec.NoClusterSize)
      walk.TotalAllocated = AddByteCounts(walk.TotalAllocated, listing.DirAllocated);
  } else {
    listing.ListedCount = 0;
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

DirectoryLayout FinishShownDirectory(DirectoryListing& listing) {
  if (!Options.Bare) NewLine();
  return PrepareDescriptions(listing.CurrentDir, listing.Descriptions);
}

// Below the root of a walk, a directory the system will not open (access
// denied, a name it cannot take, a file where the directory was) is passed
// over; a missing drive or an invalid mask still ends the run.
std::uint32_t UnreadableCode(const DirectoryRead& read, const RunWalkRec& walk) {
  if (!Options.Recursive || walk.FirstDirectory || RunSpec.DriveInvalid) return 0;
  for (const SearchResult& search : read.Searches)
    if (search.Code != 0 && search.InvalidMaskPosition == 0 && !FindErrorGoesOn(search.Code))
      return search.Code;
  return 0;
}

// The same two lines a fatal error writes, then the walk goes on.
void ReportUnreadable(const DirectoryListing& listing, std::uint32_t code) {
  EnsureOutput();
  WritePathLine(listing.SearchSpec);
  WriteLine(FindErrorMessage(code), 1, Looks.Colours.HeadingColour);
  if (!Options.Bare) NewLine();
}

}  // namespace

ReadRequest RequestFor(const std::string& directory, const std::string& searchSpec) {
  ReadRequest request;
  request.Directory = directory;
  request.Paths.push_back(searchSpec);
  for (std::size_t index = 1; index < RunSpec.FileSpecs.size(); ++index)
    request.Paths.push_back(directory + RunSpec.FileSpecs[index]);
  request.OwnMatcher = Options.RegexWildcards;
  request.Subdirectories = Options.Recursive;
  request.Aliases = Options.AliasesListed;
  return request;
}

bool ScanDirectory(const ReadRequest& request, DirectoryRead& read, RunWalkRec& walk,
                   DirectoryListing& listing, DirectoryLayout& layout, BatchFile* batch) {
  ClearListing(listing, request.Directory, request.Paths.front());
  ConsoleEngine.ReportPath = listing.SearchSpec;
  layout = {};
  if (const std::uint32_t code = UnreadableCode(read, walk)) {
    ReportUnreadable(listing, code);
    listing.DirShown = false;
    return false;
  }
  TakeRead(read, listing);
  FilterSearches(request, read, walk, listing, batch);
  // Before the header line, so a failing batch file is reported on a line of its own.
  if (batch) batch->Flush();
  if (!listing.DirShown && !listing.FileList.empty()) listing.DirShown = true;
  AddToTotals(walk, listing);
  WriteHeaderLine(listing, walk.FirstDirectory);
  if (listing.ListedCount == 0 && !Options.Recursive)
    EndWithNothingFound(read.Searches.back().Code);
  if (Options.Recursive)
    walk.PendingDirs.insert(walk.PendingDirs.end(), read.Subdirectories.begin(),
                            read.Subdirectories.end());
  if (listing.DirShown) layout = FinishShownDirectory(listing);
  return true;
}

ListingLayoutRec ShowDirectory(DirectoryListing& listing, DirectoryLayout directory) {
  // With /B the entries are listed even when only a summary was asked for.
  if (!Options.SummaryOnly || Options.Bare) SortListing(listing);
  EnsureOutput();
  const ListingLayoutRec layout =
      PlanListingLayout(listing, directory, ScreenWidth(), ScreenHeight());
  WriteListing(layout, listing);
  // In a walk, an empty line before the next directory.
  if (Options.Recursive && !Options.Bare) NewLine();
  return layout;
}
