// Ordering of a listing's FileList: the key comparison of /O, the sort, and the
// unsorted order of /O U.
#include "Engine/Sort/Sort.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Base/AsciiCase.h"
#include "Base/NameExtension.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/Options.h"
#include "Engine/Sort/GuardedQuicksort.h"
#include "Engine/Sort/SortRecord.h"

namespace {

int FoldedByte(char character) { return static_cast<unsigned char>(UpperAscii(character)); }

template <typename T>
int ThreeWay(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int KeyCompare(const FileEntry& a, const FileEntry& b) {
  switch (Options.SortKey) {
    case 'N': return FoldedCompare(a.Name, b.Name);
    case 'X': {
      int result = FoldedCompare(NameExtension(a.Name), NameExtension(b.Name));
      return result != 0 ? result : FoldedCompare(a.Name, b.Name);
    }
    case 'S': return ThreeWay(a.Size, b.Size);
    case 'D':
      return ThreeWay(Plat::TicksOf(a.Time(Options.TimeKind)),
                      Plat::TicksOf(b.Time(Options.TimeKind)));
    default: return 0;
  }
}

// /O U: the order the enumeration delivered, with directories moved ahead
// (keeping their order) only when G asked for it.
void KeepEnumerationOrder(std::vector<FileEntry*>& list) {
  if (!Options.DirsFirst || !Options.DirsFirstGiven) return;
  std::stable_partition(list.begin(), list.end(),
                        [](const FileEntry* entry) { return entry->IsDirectory(); });
}

}  // namespace

int FoldedCompare(std::string_view a, std::string_view b) {
  std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t at = 0; at < common; ++at) {
    int difference = FoldedByte(a[at]) - FoldedByte(b[at]);
    if (difference != 0) return difference;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareEntries(const FileEntry& a, const FileEntry& b) {
  int result = KeyCompare(a, b);
  if (Options.SortReverse) result = result < 0 ? 1 : (result > 0 ? -1 : 0);
  if (Options.DirsFirst && a.IsDirectory() != b.IsDirectory()) result = a.IsDirectory() ? -1 : 1;
  return result;
}

namespace {

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
