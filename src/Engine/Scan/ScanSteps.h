// The pieces of one directory scan and the working state they share.
#pragma once

#include <cstdint>
#include <string>

#include "Platform/Files.h"

struct ScanWorkState {
  int NextSlot = 1;                      // pool slot the next accepted entry goes into
  bool AlreadyCounted = false;           // this directory already counts in ShownDirCount
  bool SubdirsCollected = false;         // the listing's own pass pushed the subdirectories
  std::uint32_t LastFindCode = 0;        // result of the latest find-first
  std::uint32_t WantedAttributes = 0;    // /A: bits that must all be set
  std::uint32_t ExcludedAttributes = 0;  // /A: bits that must all be clear
  bool KeepAliases = false;              // a column shows or uses the 8.3 alias
  std::string DateText;                  // a date being formatted, kept for its capacity
  std::uint64_t LastDateSecond = ~std::uint64_t{0};  // stamp (whole seconds) of LastDate
  std::string LastDate;                              // the last date text formatted
};
extern ScanWorkState ScanWork;

// Ends the run with a message: memory for the entries ran out.
[[noreturn]] void EndForLackOfMemory();
// Makes room in FileList for more entries, or ends the run.
void GrowFileList();

// Zeroes the per-scan counters and working state.
void StartScanWork();
// Runs the entry steps for one entry delivered by the enumeration.
void ScanEntry(const Plat::FindData& data);
// Entries placed in the pool (and FileList) by this scan.
int PlacedEntryCount();

// Writes the header line ("Volume Label: ", "Path: ") without ending it.
void WriteHeaderLine();

// Pushes every subdirectory of CurrentDir onto PendingDirs.
void CollectSubdirectories();
// Whether a search on this path delivers every entry, so the walk can take the
// subdirectories from it instead of searching the directory again.
bool DeliversEveryEntry(const std::string& path);
// Pushes the entry onto PendingDirs when the walk goes into it.
void CollectSubdirectory(const Plat::FindData& data);
