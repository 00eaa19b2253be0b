// The entry steps of the scan: filters, the pool record, time stamps, size
// and the counters.
#include <algorithm>
#include <new>

#include "Common/Colours.h"  // Looks.DateFormat
#include "Common/Entries/Entries.h"
#include "Common/Entries/EntryArena.h"
#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/Text/TextCells.h"
#include "Console/Console.h"
#include "Disk/ClusterRounding.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Dates/DatePattern.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Ranges/RangeFilters.h"
#include "Engine/Scan/ScanSteps.h"

ScanWorkState ScanWork;

namespace {

// Attribute bits in AttrIndex order: A H R S D.
constexpr std::uint32_t AttrIndexBits[5] = {Plat::AttrArchive, Plat::AttrHidden, Plat::AttrReadOnly,
                                            Plat::AttrSystem, Plat::AttrDirectory};

bool PassesAttributeFilter(std::uint32_t attributes) {
  if (!Options.AttrFilter) return true;
  return (attributes & ScanWork.WantedAttributes) == ScanWork.WantedAttributes &&
         (attributes & ScanWork.ExcludedAttributes) == 0;
}

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

// The names, then the date texts the stamps step gathered, go into the entry
// arena as one run. A full path is never cut: a cut one would name a file that
// does not exist.
void StoreRecordTexts(FileEntry& entry, const DirectoryRead& read, const ReadEntry& found) {
  const std::string_view name = read.Name(found);
  const std::string_view alias = ScanWork.KeepAliases ? read.Alias(found) : std::string_view();
  entry.StoreTexts(Options.FullPath ? std::string_view(ThisDir.CurrentDir) : std::string_view(),
                   name, alias, ScanWork.DateText, ScanWork.KeepAliases);
  // A name has no more cells than bytes: only a longer one can be wider.
  if (static_cast<std::int32_t>(entry.Name.size()) > ThisDir.MaxNameLength)
    ThisDir.MaxNameLength =
        std::max(ThisDir.MaxNameLength, static_cast<std::int32_t>(TextCells(entry.Name)));
}

void FillStamps(FileEntry& entry, const ReadEntry& data) {
  entry.Attributes = data.Attributes;
  entry.AccessTime = data.AccessTime;
  entry.CreationTime = data.CreationTime;
  entry.WriteTime = data.WriteTime;
  entry.TimeLength = {};
  ScanWork.DateText.clear();
}

// The date pattern as start-up parsed it; a scan run on its own (in a test)
// parses it here.
const std::vector<DateStep>& ListingDateSteps() {
  return Looks.DateSteps.empty() ? DatePatternSteps(Looks.DateFormat) : Looks.DateSteps;
}

// A stamp in whole seconds.
std::uint64_t StampSecond(const Plat::FileTime& stamp) {
  constexpr std::uint64_t TicksPerSecond = 10'000'000;
  return Plat::TicksOf(stamp) / TicksPerSecond;
}

// The date is formatted once: its text stays with the entry for the listing
// (one too long to count in a byte is formatted again there).
void WidenDateColumn(FileEntry& entry, int kind, std::string_view text) {
  std::string& all = ScanWork.DateText;
  const std::size_t start = all.size();
  all.append(text);
  if (text.size() <= 255)
    entry.TimeLength[static_cast<std::size_t>(kind - 1)] = static_cast<std::uint8_t>(text.size());
  else
    all.resize(start);
  // A text has no more cells than bytes: only a longer one can widen the column.
  if (text.size() <= ThisDir.TimeColumnWidth[kind]) return;
  const int width = std::min(TextCells(text), 255);
  if (width > ThisDir.TimeColumnWidth[kind])
    ThisDir.TimeColumnWidth[kind] = static_cast<std::uint8_t>(width);
}

// Converts the stamps that a column or the date filter needs; widens the date
// columns even for an entry the filter drops, as the listing's widths count
// every entry seen.
bool PassesTimeStamps(FileEntry& entry) {
  bool passes = true;
  bool filterOn = Options.DateRangeOn || Options.TimeRangeOn;
  for (int kind = LastAccess; kind <= LastWrite; ++kind) {
    bool shown = Options.TimeKindNeeded[kind];
    bool filtered = filterOn && kind == Options.DateRangeStamp;
    if (!shown && !filtered) continue;
    // Entries often share a stamp to the second (copies, unpacked archives):
    // the text shows no finer part, so the last one serves again.
    const std::uint64_t second = StampSecond(entry.Time(kind));
    if (!filtered && second == ScanWork.LastDateSecond) {
      WidenDateColumn(entry, kind, ScanWork.LastDate);
      continue;
    }
    Plat::CalendarTime time;
    const bool valid = StampToLocalCalendar(entry.Time(kind), time);
    if (filtered && !PassesDateTimeFilters(valid ? EncodeDateTime(time) : InvalidStampDateTime))
      passes = false;
    if (!shown) continue;
    ScanWork.LastDate.clear();
    AppendCalendarTime(ScanWork.LastDate, ListingDateSteps(), time);
    ScanWork.LastDateSecond = second;
    WidenDateColumn(entry, kind, ScanWork.LastDate);
  }
  return passes;
}

void AcceptEntry(FileEntry& entry) {
  if (ThisDir.FileList.size() == ThisDir.FileList.capacity()) GrowFileList();
  ThisDir.FileList.push_back(&entry);
  ThisDir.DirBytes = AddByteCounts(ThisDir.DirBytes, entry.Size);
  if (!RunSpec.NoClusterSize)
    ThisDir.DirAllocated =
        AddByteCounts(ThisDir.DirAllocated, AllocatedBytes(entry.Size, RunSpec.ClusterSize));
  if (entry.IsDirectory())
    ++ThisDir.DirDirCount;
  else
    ++ThisDir.DirFileCount;
  ++ScanWork.NextSlot;
}

}  // namespace

// A listing missing entries must never look complete: without memory the run ends.
[[noreturn]] void EndForLackOfMemory() {
  FatalError("Not enough memory to list every entry of this directory", true);
}

void GrowFileList() {
  try {
    ThisDir.FileList.reserve(std::max<std::size_t>(1024, ThisDir.FileList.capacity() * 2));
  } catch (const std::bad_alloc&) {
    EndForLackOfMemory();
  }
}

void StartScanWork() {
  ThisDir.DirBytes = 0;
  ThisDir.DirAllocated = 0;
  ThisDir.MaxNameLength = 0;
  ScanWork.NextSlot = 1;
  ScanWork.WantedAttributes = ScanWork.ExcludedAttributes = 0;
  ScanWork.LastDateSecond = ~std::uint64_t{0};  // the date pattern may differ from the last run
  ClearEntryTexts();
  EntryStore.OutOfMemory = EndForLackOfMemory;
  ScanWork.KeepAliases = Options.AliasesListed;
  for (int index = 0; index < 5; ++index) {
    if (Options.AttrWant[index]) ScanWork.WantedAttributes |= AttrIndexBits[index];
    if (Options.AttrExclude[index]) ScanWork.ExcludedAttributes |= AttrIndexBits[index];
  }
}

void ScanEntry(const DirectoryRead& read, const ReadEntry& data) {
  if (!PassesAttributeFilter(data.Attributes)) return;
  if (Options.HideDots && IsDotName(read.Name(data))) return;
  FileEntry& entry = PoolSlot(ScanWork.NextSlot);
  const EntryTextMark mark = MarkEntryTexts();
  FillStamps(entry, data);
  bool included = PassesTimeStamps(entry);
  StoreRecordTexts(entry, read, data);
  entry.Size = ByteCountOf(data.Size);
  if (Options.SizeRangeOn && !PassesSizeFilter(entry.Size)) included = false;
  if (included)
    AcceptEntry(entry);
  else
    ReleaseEntryTexts(mark);
}

int PlacedEntryCount() { return ScanWork.NextSlot - 1; }

void ScanEntries(const DirectoryRead& read, std::size_t from, std::size_t to) {
  for (std::size_t index = from; index < to; ++index) ScanEntry(read, read.Entries[index]);
}
