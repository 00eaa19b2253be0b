// Ordering of a listing's FileList: the sort by the packed keys, and the
// unsorted order of /O U.
#include "Engine/Sort/Sort.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/Options.h"
#include "Engine/Sort/GuardedQuicksort.h"
#include "Engine/Sort/SortRecord.h"

namespace {

// /O U: the order the enumeration delivered, with directories moved ahead
// (keeping their order) only when G asked for it.
void KeepEnumerationOrder(std::vector<FileEntry*>& list) {
  if (!Options.DirsFirst || !Options.DirsFirstGiven) return;
  std::stable_partition(list.begin(), list.end(),
                        [](const FileEntry* entry) { return entry->IsDirectory(); });
}

// File systems often deliver names in order already. A list in strictly
// increasing order has only one sorted arrangement, which the quicksort would
// leave as it is, so no records are kept for it. Equal neighbours do not
// count: the quicksort may swap those.
template <bool Whole>
bool StrictlyIncreasing(const std::vector<FileEntry*>& list, std::size_t nameFrom) {
  if (list.empty()) return true;
  SortRecord previous = MakeSortRecord(*list[0], nameFrom);
  for (std::size_t at = 1; at < list.size(); ++at) {
    const SortRecord next = MakeSortRecord(*list[at], nameFrom);
    if (CompareRecords<Whole>(previous, next) >= 0) return false;
    previous = next;
  }
  return true;
}

template <bool Whole>
void SortRecords(std::vector<FileEntry*>& list, std::size_t nameFrom) {
  if (StrictlyIncreasing<Whole>(list, nameFrom)) return;
  std::vector<SortRecord> records;
  records.reserve(list.size());
  for (FileEntry* entry : list) records.push_back(MakeSortRecord(*entry, nameFrom));
  GuardedQuicksort<Whole>(records);
  for (std::size_t at = 0; at < records.size(); ++at) list[at] = records[at].Entry();
}

}  // namespace

void SortListing(DirectoryListing& listing) {
  if (Options.SortKey == 'U') {
    KeepEnumerationOrder(listing.FileList);
    return;
  }
  const std::size_t nameFrom = listing.NameHead().size();
  if (PackedKeysAreWhole())
    SortRecords<true>(listing.FileList, nameFrom);
  else
    SortRecords<false>(listing.FileList, nameFrom);
}
