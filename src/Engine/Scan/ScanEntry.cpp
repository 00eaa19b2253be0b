// The entry steps of the filter: attributes, dots, time stamps and their date
// texts, sizes, the texts an accepted entry adds, and the counters.
#include <algorithm>
#include <cstring>
#include <new>

#include "Base/AsciiCase.h"
#include "RunValues/Colours.h"  // Looks.DateFormat
#include "RunValues/DescriptionAndBatchState.h"
#include "RunValues/Entries/DirectoryListing.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "Base/TextCells.h"
#include "Console/Console.h"
#include "Disk/ClusterRounding.h"
#include "Engine/Dates/DateFormat.h"
#include "Engine/Dates/DatePattern.h"
#include "Engine/Dates/DateTimeValue.h"
#include "Engine/Ranges/RangeFilters.h"
#include "Engine/Scan/Scan.h"

namespace {

// Attribute bits in AttrIndex order: A H R S D.
constexpr std::uint32_t AttrIndexBits[5] = {Plat::AttrArchive, Plat::AttrHidden, Plat::AttrReadOnly,
                                            Plat::AttrSystem, Plat::AttrDirectory};

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

// The date pattern as start-up parsed it; a filter run on its own (in a test)
// parses it here.
const std::vector<DateStep>& ListingDateSteps() {
  return Looks.DateSteps.empty() ? DatePatternSteps(Looks.DateFormat) : Looks.DateSteps;
}

// A stamp in whole seconds.
std::uint64_t StampSecond(const Plat::FileTime& stamp) {
  constexpr std::uint64_t TicksPerSecond = 10'000'000;
  return Plat::TicksOf(stamp) / TicksPerSecond;
}

// Bytes of the short name taken from a text: its first 12 cells, and no more
// than a byte can count (only combining marks could make them longer).
std::uint8_t ShortNameBytes(std::string_view text) {
  std::string_view shortName = CellPrefix(text, MaxShortNameCells);
  if (shortName.size() <= 255) return static_cast<std::uint8_t>(shortName.size());
  std::size_t cut = 255;
  while (cut > 0 && (shortName[cut] & 0xC0) == 0x80) --cut;
  return static_cast<std::uint8_t>(cut);
}

// Room for `bytes` more at the end of the texts; returns where it starts. The
// buffer may move: texts are named by place until the listing settles.
std::size_t GrowTexts(UninitialisedBytes& texts, std::size_t bytes) {
  const std::size_t start = texts.size();
  if (start + bytes > texts.capacity()) texts.reserve(std::max(2 * texts.capacity(), start + bytes));
  texts.resize(start + bytes);
  return start;
}

void CopyText(UninitialisedBytes& texts, std::size_t& at, const char* from, std::size_t bytes) {
  if (bytes == 0) return;
  std::memmove(texts.data() + at, from, bytes);
  at += bytes;
}

}  // namespace

// A listing missing entries must never look complete: without memory the run ends.
[[noreturn]] void EndForLackOfMemory() {
  FatalError("Not enough memory to list every entry of this directory", true);
}

void TakeRead(DirectoryRead& read, DirectoryListing& listing) {
  listing.Records.swap(read.Entries);
  listing.Texts.swap(read.Texts);
  listing.Texts.resize(read.TextsUsed);
  read.Entries.clear();
  read.TextsUsed = 0;
  listing.Accepted = 0;
}

ListingFilter::ListingFilter(DirectoryListing& listing, const std::string& batchDirectory)
    : listing_(listing) {
  listing.DirBytes = 0;
  listing.DirAllocated = 0;
  listing.MaxNameLength = 0;
  keepAliases_ = Options.AliasesListed;
  hidesBatchWork_ =
      !batchDirectory.empty() && EqualAsciiFolded(listing.CurrentDir, batchDirectory);
  if (Options.FullPath) headCells_ = TextCells(listing.CurrentDir);
  for (int index = 0; index < 5; ++index) {
    if (Options.AttrWant[index]) wantedAttributes_ |= AttrIndexBits[index];
    if (Options.AttrExclude[index]) excludedAttributes_ |= AttrIndexBits[index];
  }
}

bool ListingFilter::PassesAttributes(std::uint32_t attributes) const {
  if (!Options.AttrFilter) return true;
  return (attributes & wantedAttributes_) == wantedAttributes_ &&
         (attributes & excludedAttributes_) == 0;
}

// The date is formatted once: its text stays with the entry for the listing
// (one too long to count in a byte is formatted again there).
void ListingFilter::WidenDateColumn(FileEntry& entry, int kind, std::string_view text) {
  const std::size_t start = dateText_.size();
  dateText_.append(text);
  if (text.size() <= 255)
    entry.TimeLength[static_cast<std::size_t>(kind - 1)] = static_cast<std::uint8_t>(text.size());
  else
    dateText_.resize(start);
  auto& widths = listing_.TimeColumnWidth;
  // A text has no more cells than bytes: only a longer one can widen the column.
  if (text.size() <= widths[kind]) return;
  const int width = std::min(TextCells(text), 255);
  if (width > widths[kind]) widths[kind] = static_cast<std::uint8_t>(width);
}

// Converts the stamps that a column or the date filter needs; widens the date
// columns even for an entry the filter drops, as the listing's widths count
// every entry seen.
bool ListingFilter::PassesTimeStamps(FileEntry& entry) {
  bool passes = true;
  bool filterOn = Options.DateRangeOn || Options.TimeRangeOn;
  for (int kind = LastAccess; kind <= LastWrite; ++kind) {
    bool shown = Options.TimeKindNeeded[kind];
    bool filtered = filterOn && kind == Options.DateRangeStamp;
    if (!shown && !filtered) continue;
    // Entries often share a stamp to the second (copies, unpacked archives):
    // the text shows no finer part, so the last one serves again. A filtered
    // stamp is always tested: the range may cut inside that second.
    const std::uint64_t second = StampSecond(entry.Time(kind));
    if (!filtered && second == lastDateSecond_) {
      WidenDateColumn(entry, kind, lastDate_);
      continue;
    }
    Plat::CalendarTime time;
    const bool valid = StampToLocalCalendar(entry.Time(kind), time);
    if (filtered && !PassesDateTimeFilters(valid ? EncodeDateTime(time) : InvalidStampDateTime))
      passes = false;
    if (!shown) continue;
    lastDate_.clear();
    AppendCalendarTime(lastDate_, ListingDateSteps(), time);
    lastDateSecond_ = second;
    WidenDateColumn(entry, kind, lastDate_);
  }
  return passes;
}

// A name has no more cells than bytes: only a longer one can be wider. Under
// /F the directory is part of the name.
void ListingFilter::NoteNameWidth(std::string_view name) {
  const std::size_t head = listing_.NameHead().size();
  if (static_cast<std::int32_t>(head + name.size()) <= listing_.MaxNameLength) return;
  listing_.MaxNameLength = std::max(listing_.MaxNameLength, headCells_ + TextCells(name));
}

// The first entry that adds texts makes room for the records still to come
// at its size and a quarter more: the texts then move once, while they are
// few, not at every doubling (room never written takes no memory).
void ListingFilter::PlanTexts(std::size_t bytes) {
  textsPlanned_ = true;
  UninitialisedBytes& texts = listing_.Texts;
  const std::size_t expected =
      texts.size() + bytes * (listing_.Records.size() - listing_.Accepted);
  if (expected > texts.capacity()) texts.reserve(std::max(2 * texts.capacity(), expected + expected / 4));
}

// Most entries add nothing: the name and the alias stay where the read put
// them. /F names get the directory before them (a full path is never cut: a
// cut one would name a file that does not exist), and date texts follow the
// short name, so both are added at the end of the texts.
void ListingFilter::StoreTexts(FileEntry& entry) {
  UninitialisedBytes& texts = listing_.Texts;
  const std::size_t nameAt = entry.Name.Offset();
  const std::size_t nameBytes = entry.Name.size();
  const std::size_t aliasBytes = keepAliases_ ? entry.ShortLength : 0;
  const std::size_t shortAt = aliasBytes > 0 ? nameAt + nameBytes : nameAt;
  const std::uint8_t shortBytes =
      keepAliases_ ? ShortNameBytes({texts.data() + shortAt, aliasBytes > 0 ? aliasBytes : nameBytes})
                   : 0;
  entry.ShortLength = shortBytes;
  const std::string_view head = listing_.NameHead();
  if (head.empty() && dateText_.empty()) {
    entry.ExtraStart = static_cast<std::uint32_t>(shortAt - nameAt);
    return;
  }
  const std::size_t nameCopy = head.empty() ? 0 : head.size() + nameBytes;
  const std::size_t extra = nameCopy + shortBytes + dateText_.size();
  if (!textsPlanned_) PlanTexts(extra);
  std::size_t at = GrowTexts(texts, extra);
  const std::size_t start = at;
  CopyText(texts, at, head.data(), head.size());
  if (!head.empty()) CopyText(texts, at, texts.data() + nameAt, nameBytes);
  const std::size_t extraAt = at;
  CopyText(texts, at, texts.data() + shortAt, shortBytes);
  CopyText(texts, at, dateText_.data(), dateText_.size());
  if (!head.empty()) entry.Name.Place(start, nameCopy);
  entry.ExtraStart = static_cast<std::uint32_t>(extraAt - entry.Name.Offset());
}

void ListingFilter::Accept(const FileEntry& entry, std::size_t index) {
  DirectoryListing& listing = listing_;
  listing.DirBytes = AddByteCounts(listing.DirBytes, entry.Size);
  if (!RunSpec.NoClusterSize)
    listing.DirAllocated =
        AddByteCounts(listing.DirAllocated, AllocatedBytes(entry.Size, RunSpec.ClusterSize));
  if (entry.IsDirectory())
    ++listing.DirDirCount;
  else
    ++listing.DirFileCount;
  // An entry after a dropped one moves up to the next free place.
  if (index != listing.Accepted) listing.Records[listing.Accepted] = entry;
  ++listing.Accepted;
}

void ListingFilter::Consider(FileEntry& entry, std::size_t index) {
  if (!PassesAttributes(entry.Attributes)) return;
  const std::string_view name = listing_.PlacedName(entry);
  if (Options.HideDots && IsDotName(name)) return;
  // The batch lines go into a file of the run's own, gone when the run ends,
  // and a line for the batch file would rewrite the script being run: neither
  // is listed, so neither gets a line.
  if (hidesBatchWork_ && IsBatchRunFileName(name.substr(listing_.NameHead().size()))) return;
  entry.TimeLength = {};
  dateText_.clear();
  bool included = PassesTimeStamps(entry);
  NoteNameWidth(name);
  if (Options.SizeRangeOn && !PassesSizeFilter(entry.Size)) included = false;
  if (!included) return;
  StoreTexts(entry);
  Accept(entry, index);
}

void ListingFilter::Filter(std::size_t from, std::size_t to) {
  try {
    listing_.Records.ForEachIn(
        from, to, [this](FileEntry& entry, std::size_t index) { Consider(entry, index); });
  } catch (const std::bad_alloc&) {
    EndForLackOfMemory();
  }
}

void ListingFilter::Finish() {
  try {
    SettleListing(listing_);
  } catch (const std::bad_alloc&) {
    EndForLackOfMemory();
  }
}
