#include "Common/Entries.h"

#include <memory>

namespace {
// Slot records are allocated on first use and kept for the whole run.
std::vector<std::unique_ptr<FileEntry>>& Pool() {
  static std::vector<std::unique_ptr<FileEntry>> pool(EntryPoolSlots + 1);
  return pool;
}
}  // namespace

const Plat::FileTime& FileEntry::Time(int kind) const {
  switch (kind) {
    case LastAccess: return AccessTime;
    case Creation: return CreationTime;
    default: return WriteTime;
  }
}

FileEntry& PoolSlot(int slot) {
  std::unique_ptr<FileEntry>& record = Pool().at(static_cast<std::size_t>(slot));
  if (!record) {
    record = std::make_unique<FileEntry>();
    record->Name.reserve(NameReserveBytes);
  }
  return *record;
}

void ResetEntryPool() {
  for (auto& record : Pool()) record.reset();
}

std::vector<FileEntry*> FileList;
std::int32_t ListedCount = 0;
std::int32_t DirFileCount = 0;
std::int32_t DirDirCount = 0;
std::int64_t DirBytes = 0;
std::int64_t DirAllocated = 0;
std::int32_t MaxNameLength = 0;
std::array<std::uint8_t, 4> TimeColumnWidth{};
bool DirShown = true;
bool EntryLimitReached = false;
std::int32_t TotalFiles = 0;
std::int64_t TotalBytes = 0;
std::int64_t TotalAllocated = 0;
std::int32_t ShownDirCount = 0;
