#include "RunValues/Entries/RecordBlocks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Numbered {
  std::size_t Number = 0;
};

// Across the first block, one full block and into the next: every record
// reads back as written and none moved while the blocks grew.
TEST(RecordBlocksTest, RecordsKeepTheirValuesAndPlacesAsBlocksAreAdded) {
  for (const std::size_t count : {1u, 64u, 65u, 1088u, 1089u, 5000u}) {
    RecordBlocks<Numbered> records;
    std::vector<const Numbered*> places;
    for (std::size_t number = 0; number < count; ++number) {
      records.emplace_back().Number = number;
      places.push_back(&records[number]);
    }
    ASSERT_EQ(records.size(), count);
    std::size_t seen = 0;
    for (const Numbered& record : records) {
      EXPECT_EQ(record.Number, seen) << count;
      EXPECT_EQ(&record, places[seen]) << count;
      ++seen;
    }
    EXPECT_EQ(seen, count);
    // The visit of a part that starts and ends inside blocks.
    std::size_t next = count / 3;
    records.ForEachIn(count / 3, count - count / 5, [&](Numbered& record, std::size_t index) {
      EXPECT_EQ(index, next++) << count;
      EXPECT_EQ(record.Number, index) << count;
    });
    EXPECT_EQ(next, count - count / 5) << count;
  }
}

// A directory read after a larger one reuses the blocks it left.
TEST(RecordBlocksTest, ClearedBlocksAreReusedAndTruncateKeepsTheFront) {
  RecordBlocks<Numbered> records;
  for (std::size_t number = 0; number < 2000; ++number) records.emplace_back().Number = number;
  const std::size_t room = records.capacity();
  records.Truncate(10);
  EXPECT_EQ(records.size(), 10u);
  EXPECT_EQ(records[9].Number, 9u);
  records.clear();
  for (std::size_t number = 0; number < 2000; ++number) records.emplace_back();
  EXPECT_EQ(records.capacity(), room);
  EXPECT_EQ(records[1999].Number, 0u);
}

}  // namespace
