// What one directory became after the filter: its entries, moved from the
// read with the buffer that holds their names, their list order, its counts
// and totals, the widths its layout needs, and its descriptions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "RunValues/DescriptionAndBatchState.h"
#include "RunValues/Entries/Entries.h"
#include "RunValues/Entries/RecordBlocks.h"
#include "RunValues/Options.h"

struct DirectoryListing {
  std::string CurrentDir;           // the directory, ends in "\"
  std::string SearchSpec;           // the directory plus the mask: what "Path:" shows
  RecordBlocks<FileEntry> Records;  // the read's records; the accepted ones first, in read order
  UninitialisedBytes Texts;         // the read's names, then the texts the filter added
  std::vector<FileEntry*> FileList;  // the accepted records in list order (after Settle)
  std::size_t Accepted = 0;          // records kept so far, at the front of Records
  std::int32_t ListedCount = 0;      // entries to write; 0 when the directory is not shown
  std::int32_t DirFileCount = 0;     // accepted entries without the directory bit
  std::int32_t DirDirCount = 0;      // accepted directories (dots included when shown)
  std::int64_t DirBytes = 0;         // sum of Size
  std::int64_t DirAllocated = 0;     // sum of sizes rounded up to whole clusters
  std::int32_t MaxNameLength = 0;    // cells of the longest Name seen
  // [1..3] widest date text per stamp. Kept from directory to directory: the
  // date columns of a walk only ever widen, so they line up.
  std::array<std::uint8_t, 4> TimeColumnWidth{};
  bool DirShown = true;                           // the directory gets its header and listing
  DescriptionTable Descriptions;                  // its DESCRIPT.ION, when loaded

  // What /F puts before every name: the directory; nothing otherwise.
  std::string_view NameHead() const {
    return Options.FullPath ? std::string_view(CurrentDir) : std::string_view();
  }

  // The name of an accepted record while the texts are still a place (before Settle).
  std::string_view PlacedName(const FileEntry& entry) const {
    return {Texts.data() + entry.Name.Offset(), entry.Name.size()};
  }
};

// Puts the listing back to its start for the directory, keeping the room of
// its buffers and the date columns' widths.
void ClearListing(DirectoryListing& listing, std::string currentDir, std::string searchSpec);
// Ends the filter: the accepted records' texts become addresses and FileList
// lists them in read order. The buffers must not change afterwards.
void SettleListing(DirectoryListing& listing);
