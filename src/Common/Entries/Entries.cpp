#include "Common/Entries/Entries.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "Common/Entries/EntryArena.h"
#include "Common/Text/TextCells.h"

ThisDirRec ThisDir;

namespace {
constexpr std::size_t RecordsPerBlock = 4096;
}  // namespace

void RunOutOfMemory() {
  if (EntryStore.OutOfMemory) EntryStore.OutOfMemory();
  throw std::bad_alloc();
}

PooledText& PooledText::Assign(std::string_view head, std::string_view tail) {
  Refer(StoreEntryText(head, tail), head.size() + tail.size());
  return *this;
}

void PooledText::Refer(const char* text, std::size_t length) {
  std::memcpy(Place, &text, sizeof text);
  Length = static_cast<std::uint32_t>(length);
}

void FileEntry::StoreTexts(std::string_view head, std::string_view name, std::string_view alias,
                           std::string_view dates, bool shortNameUsed) {
  const std::size_t nameBytes = head.size() + name.size();
  std::string_view shortName;
  if (shortNameUsed) shortName = CellPrefix(alias.empty() ? name : alias, MaxShortNameCells);
  // Only combining marks could make 12 cells longer than a byte can count.
  if (shortName.size() > 255) {
    std::size_t cut = 255;
    while (cut > 0 && (shortName[cut] & 0xC0) == 0x80) --cut;
    shortName = shortName.substr(0, cut);
  }
  const char* run = StoreEntryText(head, name, alias.empty() ? alias : shortName, dates);
  Name.Refer(run, nameBytes);
  ShortStart = static_cast<std::uint32_t>(alias.empty() ? head.size() : nameBytes);
  ShortLength = static_cast<std::uint8_t>(shortName.size());
}

std::string_view FileEntry::TimeText(int kind) const {
  std::size_t start = Name.size() + (ShortStart == Name.size() ? ShortLength : 0);
  for (int before = 1; before < kind; ++before) start += TimeLength[before - 1];
  return {Name.data() + start, TimeLength[kind - 1]};
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
      // Every field has its initialiser: the block needs no clearing first.
      blocks.push_back(std::make_unique_for_overwrite<FileEntry[]>(RecordsPerBlock));
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

std::array<std::uint8_t, 4> TimeColumnWidth{};
