// Arrangement of equal entries is visible, so the partition step is exactly
// the historic one; only the comparison got cheaper.
#include "Engine/Sort/GuardedQuicksort.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace {

// Random orders of a million entries stay within 50 levels; 4·log2(n) leaves a
// wide margin so the guard fires only on crafted orders, and it bounds the
// partition work to that many passes over the list.
int DepthLimit(std::size_t count) { return 4 * static_cast<int>(std::bit_width(count)); }

// Small ranges past the limit finish by quicksort: their cost is bounded, and
// random orders do reach them, so their arrangement stays the historic one.
constexpr int SmallRange = 16;

template <bool Whole>
void Partition(SortRecord* list, int left, int right, int& i, int& j) {
  i = left;
  j = right;
  const SortRecord pivot = list[(left + right) / 2];
  do {
    while (CompareRecords<Whole>(list[i], pivot) < 0) ++i;
    while (CompareRecords<Whole>(list[j], pivot) > 0) --j;
    if (i <= j) {
      std::swap(list[i], list[j]);
      ++i;
      --j;
    }
  } while (i <= j);
}

template <bool Whole>
void HeapSort(SortRecord* first, SortRecord* last) {
  auto less = [](const SortRecord& a, const SortRecord& b) {
    return CompareRecords<Whole>(a, b) < 0;
  };
  std::make_heap(first, last, less);
  std::sort_heap(first, last, less);
}

// The two parts of a partition are sorted independently of each other, so
// recursing into the smaller one first gives the same arrangement as any other
// order while keeping the stack shallow.
template <bool Whole>
void SortRange(SortRecord* list, int left, int right, int depth, int limit) {
  while (left < right) {
    if (depth > limit && right - left >= SmallRange) {
      HeapSort<Whole>(list + left, list + right + 1);
      return;
    }
    int i = 0;
    int j = 0;
    Partition<Whole>(list, left, right, i, j);
    ++depth;
    if (j - left < right - i) {
      if (left < j) SortRange<Whole>(list, left, j, depth, limit);
      left = i;
    } else {
      if (i < right) SortRange<Whole>(list, i, right, depth, limit);
      right = j;
    }
  }
}

}  // namespace

template <bool Whole>
void GuardedQuicksort(std::vector<SortRecord>& records) {
  if (records.empty()) return;
  SortRange<Whole>(records.data(), 0, static_cast<int>(records.size()) - 1, 0,
                   DepthLimit(records.size()));
}

template void GuardedQuicksort<true>(std::vector<SortRecord>&);
template void GuardedQuicksort<false>(std::vector<SortRecord>&);
