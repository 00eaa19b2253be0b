// The pieces of one directory scan and the working state they share.
#pragma once

#include <cstdint>

#include "Platform/Platform.h"

struct ScanWorkState {
  int NextSlot = 1;                      // pool slot the next accepted entry goes into
  bool AlreadyCounted = false;           // this directory already counts in ShownDirCount
  std::uint32_t LastFindCode = 0;        // result of the latest find-first
  std::uint32_t WantedAttributes = 0;    // /A: bits that must all be set
  std::uint32_t ExcludedAttributes = 0;  // /A: bits that must all be clear
};
extern ScanWorkState ScanWork;

// Text shown once below the header when a directory holds more entries than
// the pool can list.
extern const char* const EntryLimitMessage;

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
