// Records kept in blocks that never move: a block is added when the last one
// is full, so a growing directory copies no record and never holds its records
// twice. The first block is small (a walk reads thousands of small
// directories); every later one holds the same number.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

template <typename Record>
class RecordBlocks {
  static_assert(std::is_trivially_copyable_v<Record> && std::is_trivially_destructible_v<Record>);

 public:
  Record& emplace_back() {
    if (size_ == capacity_) AddBlock();
    return *::new (static_cast<void*>(Slot(size_++))) Record();
  }
  Record& operator[](std::size_t index) { return *Slot(index); }
  const Record& operator[](std::size_t index) const { return *Slot(index); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t capacity() const { return capacity_; }
  // The bytes the next emplace_back takes: a block when the last one is full.
  std::size_t GrowthBytes() const {
    if (size_ < capacity_) return 0;
    return (blocks_.empty() ? FirstRecords : BlockMask + 1) * sizeof(Record);
  }
  // Drops the records from `count` on; the blocks stay for the next directory.
  void Truncate(std::size_t count) {
    if (count < size_) size_ = count;
  }
  void clear() { size_ = 0; }
  void swap(RecordBlocks& other) noexcept {
    blocks_.swap(other.blocks_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

  // Calls visit(record, index) for the records [from, to), a block at a time.
  template <typename Visit>
  void ForEachIn(std::size_t from, std::size_t to, Visit visit) {
    while (from < to) {
      const std::size_t block = from < FirstRecords ? 0 : 1 + ((from - FirstRecords) >> BlockShift);
      const std::size_t first = block == 0 ? 0 : FirstRecords + ((block - 1) << BlockShift);
      const std::size_t end = std::min(to, block == 0 ? FirstRecords : first + BlockMask + 1);
      Record* const records = blocks_[block].get();
      for (; from < end; ++from) visit(records[from - first], from);
    }
  }

  template <typename Owner, typename Value>
  class Walk {
   public:
    Walk(Owner& owner, std::size_t index) : owner_(&owner), index_(index) {}
    Value& operator*() const { return (*owner_)[index_]; }
    Walk& operator++() {
      ++index_;
      return *this;
    }
    bool operator!=(const Walk& other) const { return index_ != other.index_; }

   private:
    Owner* owner_;
    std::size_t index_;
  };
  Walk<RecordBlocks, Record> begin() { return {*this, 0}; }
  Walk<RecordBlocks, Record> end() { return {*this, size_}; }
  Walk<const RecordBlocks, const Record> begin() const { return {*this, 0}; }
  Walk<const RecordBlocks, const Record> end() const { return {*this, size_}; }

 private:
  static constexpr std::size_t FirstRecords = 64;
  static constexpr unsigned BlockShift = 10;  // 1,024 records a block after the first
  static constexpr std::size_t BlockMask = (std::size_t{1} << BlockShift) - 1;

  Record* Slot(std::size_t index) const {
    if (index < FirstRecords) return blocks_[0].get() + index;
    index -= FirstRecords;
    return blocks_[1 + (index >> BlockShift)].get() + (index & BlockMask);
  }
  // Out of line, so that adding a record stays small enough to be inlined.
  [[gnu::noinline]] void AddBlock() {
    const std::size_t records = blocks_.empty() ? FirstRecords : BlockMask + 1;
    blocks_.emplace_back(static_cast<Record*>(::operator new(records * sizeof(Record))));
    capacity_ += records;
  }

  struct Release {
    void operator()(Record* records) const { ::operator delete(records); }
  };
  std::vector<std::unique_ptr<Record, Release>> blocks_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
