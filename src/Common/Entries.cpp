#include "Common/Entries.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "Common/EntryArena.h"

namespace {
constexpr std::size_t RecordsPerBlock = 4096;
}  // namespace

void RunOutOfMemory() {
  if (OutOfMemory) OutOfMemory();
  throw std::bad_alloc();
}

PooledText& PooledText::Assign(std::string_view head, std::string_view tail) {
  Text = StoreEntryText(head, tail);
  Length = static_cast<std::uint32_t>(head.size() + tail.size());
  return *this;
}

const Plat::FileTime& FileEntry::Time(int kind) const {
  switch (kind) {
    case LastAccess: return AccessTime;
    case Creation: return CreationTime;
    default: return WriteTime;
  }
}

// Records live in fixed blocks, so their addresses never change as the pool grows.
FileEntry& PoolSlot(int slot) {
  const std::size_t index = static_cast<std::size_t>(slot - 1);
  auto& blocks = EntryStore.RecordBlocks;
  if (index / RecordsPerBlock >= blocks.size()) {
    try {
      blocks.push_back(std::make_unique<FileEntry[]>(RecordsPerBlock));
    } catch (const std::bad_alloc&) {
      RunOutOfMemory();
    }
  }
  return blocks[index / RecordsPerBlock][index % RecordsPerBlock];
}

void ClearEntryTexts() {
  EntryStore.CurrentBlock = 0;
  EntryStore.BlockUsed = 0;
}

EntryTextMark MarkEntryTexts() { return {EntryStore.CurrentBlock, EntryStore.BlockUsed}; }

void ReleaseEntryTexts(const EntryTextMark& mark) {
  EntryStore.CurrentBlock = mark.Block;
  EntryStore.BlockUsed = mark.Used;
}

void ResetEntryPool() {
  EntryStore.RecordBlocks.clear();
  EntryStore.TextBlocks.clear();
  EntryStore.TextBlockSizes.clear();
  ClearEntryTexts();
}

OutOfMemoryHandler OutOfMemory = nullptr;
std::vector<FileEntry*> FileList;
std::int32_t ListedCount = 0;
std::int32_t DirFileCount = 0;
std::int32_t DirDirCount = 0;
std::int64_t DirBytes = 0;
std::int64_t DirAllocated = 0;
std::int32_t MaxNameLength = 0;
std::array<std::uint8_t, 4> TimeColumnWidth{};
bool DirShown = true;
std::int32_t TotalFiles = 0;
std::int64_t TotalBytes = 0;
std::int64_t TotalAllocated = 0;
std::int32_t ShownDirCount = 0;
