// Ordering of the FileList: the key comparison of /O and the quicksort whose
// arrangement of equal entries is part of the program's visible behaviour.
#include "Engine/Sort/Sort.h"

#include <cstdint>
#include <utility>

#include "Common/Entries.h"
#include "Common/Options.h"

namespace {

int FoldedByte(char character) {
  auto byte = static_cast<unsigned char>(character);
  return byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte;
}

std::uint64_t StampValue(const Plat::FileTime& stamp) {
  return (static_cast<std::uint64_t>(stamp.High) << 32) | stamp.Low;
}

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
      return ThreeWay(StampValue(a.Time(Options.TimeKind)), StampValue(b.Time(Options.TimeKind)));
    default: return 0;
  }
}

// One partition pass around the middle entry; on return [left, j] and
// [i, right] remain to be sorted, and anything between them is in place.
void Partition(int left, int right, int& i, int& j) {
  std::vector<FileEntry*>& list = FileList;
  i = left;
  j = right;
  const FileEntry* pivot = list[static_cast<std::size_t>((left + right) / 2)];
  do {
    while (CompareEntries(*list[static_cast<std::size_t>(i)], *pivot) < 0) ++i;
    while (CompareEntries(*list[static_cast<std::size_t>(j)], *pivot) > 0) --j;
    if (i <= j) {
      std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
}

// The two parts of a partition are sorted independently of each other, so
// recursing into the smaller one first gives the same arrangement as any other
// order while keeping the stack shallow.
void SortRange(int left, int right) {
  while (left < right) {
    int i = 0;
    int j = 0;
    Partition(left, right, i, j);
    if (j - left < right - i) {
      if (left < j) SortRange(left, j);
      left = i;
    } else {
      if (i < right) SortRange(i, right);
      right = j;
    }
  }
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

std::string_view NameExtension(std::string_view name) {
  for (std::size_t at = name.size(); at-- > 0;) {
    if (name[at] == '.') return name.substr(at + 1);
    if (name[at] == '\\') break;
  }
  return {};
}

int CompareEntries(const FileEntry& a, const FileEntry& b) {
  int result = KeyCompare(a, b);
  if (Options.SortReverse) result = result < 0 ? 1 : (result > 0 ? -1 : 0);
  if (Options.DirsFirst && a.IsDirectory() != b.IsDirectory()) result = a.IsDirectory() ? -1 : 1;
  return result;
}

void SortFileList() {
  if (!FileList.empty()) SortRange(0, static_cast<int>(FileList.size()) - 1);
}
