// The pieces of one directory's filter step and the working state they share.
#pragma once

#include <cstdint>
#include <string>

#include "Engine/Scan/Scan.h"

struct ScanWorkState {
  int NextSlot = 1;                      // pool slot the next accepted entry goes into
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
// Makes room in ThisDir.FileList for more entries, or ends the run.
void GrowFileList();

// Runs the entry steps for one entry of a read.
void ScanEntry(const DirectoryRead& read, const ReadEntry& entry);
