// Directory entries, the pool that owns them, the list the listing writes, and
// the per-directory counters and run totals the scan keeps.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Common/Options.h"
#include "Platform/Platform.h"

struct FileEntry {
  std::uint32_t Attributes = 0;  // every attribute bit the file system reports
  Plat::FileTime AccessTime;     // UTC; Times()[1]
  Plat::FileTime CreationTime;   // UTC; Times()[2]
  Plat::FileTime WriteTime;      // UTC; Times()[3]
  std::int64_t Size = 0;         // bytes
  std::string ShortName;         // 8.3 alias, or the first 12 cells of Name (UTF-8)
  std::string Name;              // long name (with /F: directory + name), UTF-8, never cut

  // The time stamp of a TimeStampKind (1..3).
  const Plat::FileTime& Time(int kind) const;
  bool IsDirectory() const { return (Attributes & Plat::AttrDirectory) != 0; }
};

constexpr int EntryPoolSlots = 100000;
constexpr int MaxShortNameCells = 12;
// Bytes each record reserves for its name: every name of plain ASCII fits.
constexpr std::size_t NameReserveBytes = 255;

// Slot access 1..EntryPoolSlots; allocates a zeroed record on first use.
FileEntry& PoolSlot(int slot);
// Drops every pooled record (tests only).
void ResetEntryPool();

// The entries of the directory being listed, in list order; refers to pool records.
extern std::vector<FileEntry*> FileList;

// Per-directory results of the scan.
extern std::int32_t ListedCount;    // entries in FileList; 0 when the directory is not shown
extern std::int32_t DirFileCount;   // accepted entries without the directory bit
extern std::int32_t DirDirCount;    // accepted directories (dots included when shown)
extern std::int64_t DirBytes;       // sum of Size
extern std::int64_t DirAllocated;   // sum of sizes rounded up to whole clusters
extern std::int32_t MaxNameLength;  // cells of the longest Name seen
extern std::array<std::uint8_t, 4> TimeColumnWidth;  // [1..3] widest date text per stamp
extern bool DirShown;                                // the directory gets its header and listing
extern bool EntryLimitReached;                       // the last scan stopped at the pool's capacity

// Run-wide totals.
extern std::int32_t TotalFiles;      // files over all shown directories
extern std::int64_t TotalBytes;      // bytes over all shown directories
extern std::int64_t TotalAllocated;  // allocated bytes (only with a known cluster size)
extern std::int32_t ShownDirCount;   // recursive mode: directories where a spec matched
