// The sort must leave every list, ties included, exactly as the plain
// middle-pivot quicksort did, and must not turn quadratic on a crafted order.
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/Options.h"
#include "Engine/Sort/Sort.h"
#include "ListingBuilder.h"
#include "TestWorld.h"

namespace {

// The historic sort, kept as the reference arrangement; counts its comparisons.
long long ReferenceSort(std::vector<FileEntry*>& list, int left, int right) {
  long long comparisons = 0;
  while (left < right) {
    int i = left;
    int j = right;
    const FileEntry* pivot = list[static_cast<std::size_t>((left + right) / 2)];
    do {
      while (++comparisons, CompareEntries(*list[static_cast<std::size_t>(i)], *pivot) < 0) ++i;
      while (++comparisons, CompareEntries(*list[static_cast<std::size_t>(j)], *pivot) > 0) --j;
      if (i <= j)
        std::swap(list[static_cast<std::size_t>(i++)], list[static_cast<std::size_t>(j--)]);
    } while (i <= j);
    if (left < j) comparisons += ReferenceSort(list, left, j);
    left = i;
  }
  return comparisons;
}

long long ReferenceSort(std::vector<FileEntry*>& list) {
  return list.empty() ? 0 : ReferenceSort(list, 0, static_cast<int>(list.size()) - 1);
}

class SortArrangementTest : public TestWorld {
 protected:
  ListingBuilder built;
  std::vector<FileEntry*>& list() { return built.Listed().FileList; }
  void Sort() { SortListing(built.Listed()); }

  // Few letters and lengths, so that many names tie under folding and many
  // share a long prefix or a long extension; few sizes and stamps, so that
  // most numbers tie.
  void AddRandomEntries(std::mt19937& random, int count) {
    static const char Letters[] = "aAbB._\xE9\\";
    for (int index = 0; index < count; ++index) {
      std::size_t length = random() % 21;
      std::string prefix = random() % 2 ? "longsharedprefix" : "";
      std::string name = prefix;
      for (std::size_t at = 0; at < length; ++at) name += Letters[random() % 8];
      if (random() % 3 == 0) name += std::string(".extensi") + Letters[random() % 4];
      FileEntry& entry = built.Add(name);
      entry.Size =
          random() % 3 == 0 ? std::int64_t{5} << 32 : static_cast<std::int64_t>(random() % 4);
      entry.WriteTime = {static_cast<std::uint32_t>(random() % 3),
                         static_cast<std::uint32_t>(random() % 2) << 31};
      entry.Attributes = random() % 5 == 0 ? Plat::AttrDirectory : Plat::AttrArchive;
    }
  }
};

TEST_F(SortArrangementTest, EveryKeyAndDirectionLeavesTiesWhereTheHistoricSortDid) {
  std::mt19937 random(13);
  for (char key : {'N', 'X', 'S', 'D'}) {
    for (int variant = 0; variant < 4; ++variant) {
      StartupOptions().SortKey = key;
      StartupOptions().SortReverse = (variant & 1) != 0;
      StartupOptions().DirsFirst = (variant & 2) == 0;
      for (int trial = 0; trial < 40; ++trial) {
        built.ClearEntries();
        AddRandomEntries(random, 1 + static_cast<int>(random() % 600));
        std::vector<FileEntry*> expected = list();
        ReferenceSort(expected);
        Sort();
        ASSERT_EQ(list(), expected) << "key " << key << " variant " << variant;
        // Delivered in order already, ties and all: the ties still move as before.
        ReferenceSort(expected);
        Sort();
        ASSERT_EQ(list(), expected) << "sorted, key " << key << " variant " << variant;
      }
    }
  }
}

// Largest remaining size always in the middle: each pass of the plain
// middle-pivot quicksort then splits off one entry only.
std::vector<std::int64_t> CraftedSizes(int count) {
  std::vector<int> slots(static_cast<std::size_t>(count));
  for (int at = 0; at < count; ++at) slots[static_cast<std::size_t>(at)] = at;
  std::vector<std::int64_t> sizes(static_cast<std::size_t>(count));
  for (int right = count - 1; right > 0; --right) {
    sizes[static_cast<std::size_t>(slots[static_cast<std::size_t>(right / 2)])] = right;
    std::swap(slots[static_cast<std::size_t>(right / 2)], slots[static_cast<std::size_t>(right)]);
  }
  return sizes;
}

TEST_F(SortArrangementTest, CraftedOrderOfSizesSortsQuickly) {
  StartupOptions().SortKey = 'S';
  for (std::int64_t size : CraftedSizes(2000)) built.Add("").Size = size;
  EXPECT_GT(ReferenceSort(list()), 2000LL * 2000 / 4);  // the order really is hostile

  built.ClearEntries();
  const int count = 100000;
  for (std::int64_t size : CraftedSizes(count)) built.Add("").Size = size;
  Sort();  // unguarded it takes minutes; bench/ListingBench.cpp times it
  for (int at = 0; at < count; ++at)
    ASSERT_EQ(list()[static_cast<std::size_t>(at)]->Size, at);
}

}  // namespace
