// Directory entries, the pool that owns them, the list the listing writes, and
// the per-directory counters and run totals the scan keeps.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "Common/Options.h"
#include "Platform/Files.h"

// A text kept in the entry arena: assigning one copies it there, so records
// hold no buffers of their own. It stays valid until the arena is cleared.
// Twelve bytes with no padding: the pointer is kept as bytes.
class PooledText {
 public:
  PooledText& operator=(std::string_view text) { return Assign(text, {}); }
  // Stores head and tail as one text.
  PooledText& Assign(std::string_view head, std::string_view tail);
  // Refers to text already in the arena.
  void Refer(const char* text, std::size_t length);
  operator std::string_view() const { return {data(), Length}; }
  operator std::string() const { return std::string(data(), Length); }
  const char* data() const {
    const char* text;
    std::memcpy(&text, Place, sizeof text);
    return text;
  }
  std::size_t size() const { return Length; }
  bool empty() const { return Length == 0; }
  friend bool operator==(const PooledText& a, std::string_view b) {
    return std::string_view(a) == b;
  }

 private:
  unsigned char Place[sizeof(const char*)] = {};
  std::uint32_t Length = 0;
};

// 56 bytes on x86_64: the alias and date texts follow the name in one arena
// run, so the record keeps only their places.
struct FileEntry {
  std::int64_t Size = 0;         // bytes
  PooledText Name;               // long name (with /F: directory + name), UTF-8, never cut
  std::uint32_t Attributes = 0;  // every attribute bit the file system reports
  Plat::FileTime AccessTime;     // UTC; Times()[1]
  Plat::FileTime CreationTime;   // UTC; Times()[2]
  Plat::FileTime WriteTime;      // UTC; Times()[3]
  std::uint32_t ShortStart = 0;  // ShortName's place in Name's run
  std::uint8_t ShortLength = 0;
  std::array<std::uint8_t, 3> TimeLength{};  // bytes of each stamp's date text (0: none)

  // Stores head + name as Name, then the alias when there is one, then the
  // date texts (TimeLength gives their lengths). ShortName is the alias, or
  // the first 12 cells of name; it stays empty when no column uses it.
  void StoreTexts(std::string_view head, std::string_view name, std::string_view alias,
                  std::string_view dates, bool shortNameUsed = true);
  // 8.3 alias, or the first 12 cells of Name (UTF-8); empty when unused.
  std::string_view ShortName() const { return {Name.data() + ShortStart, ShortLength}; }
  // Date text of a shown stamp (kind 1..3), formatted by the scan; empty if none.
  std::string_view TimeText(int kind) const;
  // The time stamp of a TimeStampKind (1..3).
  const Plat::FileTime& Time(int kind) const;
  bool IsDirectory() const { return (Attributes & Plat::AttrDirectory) != 0; }
};

constexpr int MaxShortNameCells = 12;

// Slot access from 1 up, without limit; the pool grows a block of records at a
// time and keeps them for the run. A failing growth ends the run (OutOfMemory).
FileEntry& PoolSlot(int slot);
// Empties the text arena for the next directory; its blocks are kept.
void ClearEntryTexts();
// A place in the text arena, to give back the texts of an entry the scan drops.
struct EntryTextMark {
  std::size_t Block = 0;
  std::size_t Used = 0;
};
EntryTextMark MarkEntryTexts();
void ReleaseEntryTexts(const EntryTextMark& mark);
// Drops every pooled record and text block.
void ResetEntryPool();
[[noreturn]] void RunOutOfMemory();

// The directory being listed: where it is, its entries in list order (pool
// records) and the counts of its scan. The run's own specification (RunSpec)
// names only the first directory.
struct ThisDirRec {
  std::string CurrentDir;  // the directory, ends in "\"
  std::string SearchSpec;  // the directory plus the mask: what "Path:" shows
  std::vector<FileEntry*> FileList;
  std::int32_t ListedCount = 0;    // entries in FileList; 0 when the directory is not shown
  std::int32_t DirFileCount = 0;   // accepted entries without the directory bit
  std::int32_t DirDirCount = 0;    // accepted directories (dots included when shown)
  std::int64_t DirBytes = 0;       // sum of Size
  std::int64_t DirAllocated = 0;   // sum of sizes rounded up to whole clusters
  std::int32_t MaxNameLength = 0;  // cells of the longest Name seen
  std::array<std::uint8_t, 4> TimeColumnWidth;  // [1..3] widest date text per stamp
  bool DirShown = true;                         // the directory gets its header and listing
};
extern ThisDirRec ThisDir;

// Per-directory results of the scan.

// Run-wide totals.
