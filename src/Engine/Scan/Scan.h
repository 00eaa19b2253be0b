// The filter step of one directory, on the main thread: the read's records
// move into the directory's listing, and those that pass the filters stay
// there with the directory's counters; and what a failed search means.
#pragma once
#include <cstdint>
#include <string>

#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/RunEnd.h"
#include "Engine/Scan/DirectoryRead.h"

// Moves the read's records and the buffer of their names into the listing,
// never copying a name; the listing's earlier buffers go to the read, whose
// next read reuses their room.
void TakeRead(DirectoryRead& read, DirectoryListing& listing);

// Filters a listing's records in place: the accepted ones move to its front,
// with their texts, counters and column widths. One per directory.
class ListingFilter {
 public:
  // batchDirectory: the folder of the run's batch files under /@ (empty
  // otherwise), which a listing of that folder passes over.
  ListingFilter(DirectoryListing& listing, const std::string& batchDirectory);
  // Filters the records [from, to), the entries of one search.
  void Filter(std::size_t from, std::size_t to);
  // Ends the filter: the listing's texts settle and FileList lists the entries.
  void Finish();

 private:
  bool PassesAttributes(std::uint32_t attributes) const;
  bool PassesTimeStamps(FileEntry& entry);
  void WidenDateColumn(FileEntry& entry, int kind, std::string_view text);
  void NoteNameWidth(std::string_view name);
  void PlanTexts(std::size_t bytes);
  void StoreTexts(FileEntry& entry);
  void Accept(const FileEntry& entry, std::size_t index);
  void Consider(FileEntry& entry, std::size_t index);

  DirectoryListing& listing_;
  std::uint32_t wantedAttributes_ = 0;    // /A: bits that must all be set
  std::uint32_t excludedAttributes_ = 0;  // /A: bits that must all be clear
  bool keepAliases_ = false;              // a column shows or uses the 8.3 alias
  int headCells_ = 0;                     // cells of the directory /F puts before names
  bool hidesBatchWork_ = false;           // the folder holds the batch run's own file
  bool textsPlanned_ = false;             // the texts' room was made for the directory
  std::string dateText_;                  // the date texts of the entry being filtered
  // Entries often share a stamp to the second: its text is kept.
  std::uint64_t lastDateSecond_ = ~std::uint64_t{0};
  std::string lastDate_;
};

// Ends the run with a message: memory for the entries ran out.
[[noreturn]] void EndForLackOfMemory();

// What a failed search start says.
std::string FindErrorMessage(std::uint32_t code);
// Whether the run goes on past a failed search start: no match is reported
// later (or passed over in a walk), and a walk goes on past a directory it
// cannot reach; a missing drive never goes on.
bool FindErrorGoesOn(std::uint32_t code);
// The exit code of a run a failed search start ends: a folder that is not
// there is a specification nothing matches.
ExitCode FindErrorExitCode(std::uint32_t code);
// Reports a search start's result: ends the run when it does not go on.
void ReportFindError(std::uint32_t code);
