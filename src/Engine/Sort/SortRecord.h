// A FileEntry with its place in the sort order packed into integers, so that
// most comparisons of the sort never reach the entry's name or stamps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Engine/Sort/EntryOrder.h"

struct FileEntry;

struct SortRecord {
  std::uint64_t High = 0;  // first part of the key, direction applied
  std::uint64_t Low = 0;   // second part of the key (names only)
  // The entry's address, its lowest bit (always clear in an address of a
  // record) the group: 24 bytes a record instead of 32.
  std::uintptr_t Place = 0;

  FileEntry* Entry() const { return reinterpret_cast<FileEntry*>(Place & ~std::uintptr_t{1}); }
  // 0 directories, 1 the rest, when directories go first.
  unsigned Group() const { return static_cast<unsigned>(Place & 1); }
};

// The record of an entry under the sort options in force. Names pack from
// byte nameFrom on: under /F every name of a listing starts with its folder,
// which would leave the packed keys equal and every comparison to the names.
SortRecord MakeSortRecord(FileEntry& entry, std::size_t nameFrom);
// True when equal packed keys mean equal entries under the options in force:
// numbers pack whole, texts only their first bytes.
bool PackedKeysAreWhole();

// The sign of CompareEntries on the two entries; the entries themselves are
// read only when the packed keys cannot tell.
template <bool Whole>
int CompareRecords(const SortRecord& a, const SortRecord& b) {
  if (a.Group() != b.Group()) return a.Group() < b.Group() ? -1 : 1;
  if (a.High != b.High) return a.High < b.High ? -1 : 1;
  if (a.Low != b.Low) return a.Low < b.Low ? -1 : 1;
  if constexpr (Whole) {
    return 0;
  } else {
    // Each partition meets its pivot's own entry; no need to read its name.
    return a.Place == b.Place ? 0 : CompareEntries(*a.Entry(), *b.Entry());
  }
}
