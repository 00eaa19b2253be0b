// The entry steps of the scan: filters, the pool record, time stamps, size
// and the counters.
#include <algorithm>
#include <cstring>

#include "Common/Colours.h"  // DateFormat
#include "Common/Entries.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/TextCells.h"
#include "Engine/Batch/Batch.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Ranges/RangeFilters.h"
#include "Engine/Scan/ByteCount.h"
#include "Engine/Scan/ScanSteps.h"

ScanWorkState ScanWork;

namespace {

// Attribute bits in AttrIndex order: A H R S D.
constexpr std::uint32_t AttrIndexBits[5] = {Plat::AttrArchive, Plat::AttrHidden, Plat::AttrReadOnly,
                                            Plat::AttrSystem, Plat::AttrDirectory};

// Entries past the pool's capacity are still filtered and counted; they are
// built in this record, which is reused for each of them.
FileEntry& OverflowRecord() {
  static FileEntry record = [] {
    FileEntry entry;
    entry.Name.reserve(NameReserveBytes);
    return entry;
  }();
  return record;
}

bool PoolHasRoom() { return ScanWork.NextSlot <= EntryPoolSlots; }

FileEntry& TargetRecord() { return PoolHasRoom() ? PoolSlot(ScanWork.NextSlot) : OverflowRecord(); }

bool PassesAttributeFilter(std::uint32_t attributes) {
  if (!Options.AttrFilter) return true;
  return (attributes & ScanWork.WantedAttributes) == ScanWork.WantedAttributes &&
         (attributes & ScanWork.ExcludedAttributes) == 0;
}

// Length of a NUL-terminated text in a fixed buffer, never past the buffer.
template <std::size_t N>
std::size_t BoundedLength(const char (&text)[N]) {
  return static_cast<std::size_t>(std::find(text, text + N, '\0') - text);
}

bool IsDotName(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// Assigns into the record's existing strings, so a reused slot never allocates
// once it has held a name as long. A full path is never cut: a cut one would
// name a file that does not exist.
void FillRecord(FileEntry& entry, const Plat::FindData& data) {
  const std::string_view name(data.Name, BoundedLength(data.Name));
  if (Options.FullPath) {
    entry.Name.assign(CurrentDir);
    entry.Name.append(name);
  } else {
    entry.Name.assign(name);
  }
  const std::string_view alias(data.AltName, BoundedLength(data.AltName));
  entry.ShortName.assign(CellPrefix(alias.empty() ? name : alias, MaxShortNameCells));
  MaxNameLength = std::max(MaxNameLength, static_cast<std::int32_t>(TextCells(entry.Name)));
  entry.Attributes = data.Attributes;
  entry.AccessTime = data.AccessTime;
  entry.CreationTime = data.CreationTime;
  entry.WriteTime = data.WriteTime;
}

// The date text goes into one buffer kept for the whole run.
void WidenDateColumn(int kind, double value) {
  static std::string text;
  text.clear();
  AppendDateTime(text, DateFormat, value);
  int width = std::min(TextCells(text), 255);
  if (width > TimeColumnWidth[kind]) TimeColumnWidth[kind] = static_cast<std::uint8_t>(width);
}

// Converts the stamps that a column or the date filter needs; widens the date
// columns even for an entry the filter drops, as the listing's widths count
// every entry seen.
bool PassesTimeStamps(const FileEntry& entry) {
  bool passes = true;
  bool filterOn = Options.DateRangeOn || Options.TimeRangeOn;
  for (int kind = LastAccess; kind <= LastWrite; ++kind) {
    bool shown = Options.TimeKindNeeded[kind];
    bool filtered = filterOn && kind == Options.DateRangeStamp;
    if (!shown && !filtered) continue;
    double value = StampToLocalDateTime(entry.Time(kind));
    if (filtered && !PassesDateTimeFilters(value)) passes = false;
    if (shown) WidenDateColumn(kind, value);
  }
  return passes;
}

std::int64_t AllocatedSize(std::int64_t size) {
  if (ClusterSize <= 0 || size % ClusterSize == 0) return size;
  return AddByteCounts(size - size % ClusterSize, ClusterSize);
}

// The batch line takes the long name as delivered: under /F the entry's Name
// already holds the directory, which the line must name only once.
void AcceptEntry(FileEntry& entry, const Plat::FindData& data) {
  bool listed = PoolHasRoom();
  if (listed) FileList.push_back(&entry);
  DirBytes = AddByteCounts(DirBytes, entry.Size);
  if (!NoClusterSize) DirAllocated = AddByteCounts(DirAllocated, AllocatedSize(entry.Size));
  if (Options.BatchMode && listed)
    WriteBatchLine(std::string_view(data.Name, BoundedLength(data.Name)));
  if (entry.IsDirectory())
    ++DirDirCount;
  else
    ++DirFileCount;
  if (listed)
    ++ScanWork.NextSlot;
  else
    EntryLimitReached = true;
}

}  // namespace

const char* const EntryLimitMessage = "Only the first 100,000 entries are listed";

void StartScanWork() {
  DirBytes = 0;
  DirAllocated = 0;
  MaxNameLength = 0;
  EntryLimitReached = false;
  ScanWork = ScanWorkState{};
  for (int index = 0; index < 5; ++index) {
    if (Options.AttrWant[index]) ScanWork.WantedAttributes |= AttrIndexBits[index];
    if (Options.AttrExclude[index]) ScanWork.ExcludedAttributes |= AttrIndexBits[index];
  }
}

void ScanEntry(const Plat::FindData& data) {
  if (!PassesAttributeFilter(data.Attributes)) return;
  if (Options.HideDots && IsDotName(data.Name)) return;
  FileEntry& entry = TargetRecord();
  FillRecord(entry, data);
  bool included = PassesTimeStamps(entry);
  entry.Size = ByteCountOf((static_cast<std::uint64_t>(data.SizeHigh) << 32) | data.SizeLow);
  if (Options.SizeRangeOn && !PassesSizeFilter(entry.Size)) included = false;
  if (included) AcceptEntry(entry, data);
}

int PlacedEntryCount() { return ScanWork.NextSlot - 1; }
