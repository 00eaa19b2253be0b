// Packing the sort key of an entry into two 64-bit numbers whose order is the
// order of the key, reversed already when the sort is descending.
#include "Engine/Sort/SortRecord.h"

#include <string_view>

#include "Common/Entries.h"
#include "Common/Options.h"

namespace {

// Folded bytes [from, from + 8) of a text, big-endian, zero past its end: a
// text that ends first never packs larger, as a prefix sorts first. Different
// packs order like the texts; equal packs leave it to the full comparison.
std::uint64_t PackedText(std::string_view text, std::size_t from) {
  std::uint64_t packed = 0;
  for (std::size_t at = from; at < from + 8; ++at) {
    unsigned byte = 0;
    if (at < text.size()) {
      byte = static_cast<unsigned char>(text[at]);
      if (byte >= 'a' && byte <= 'z') byte -= 'a' - 'A';
    }
    packed = (packed << 8) | byte;
  }
  return packed;
}

void PackKey(const FileEntry& entry, SortRecord& record) {
  switch (Options.SortKey) {
    case 'N':
      record.High = PackedText(entry.Name, 0);
      record.Low = PackedText(entry.Name, 8);
      break;
    case 'X': record.High = PackedText(NameExtension(entry.Name), 0); break;
    case 'S':  // the sign bit flipped: signed order as unsigned order
      record.High = static_cast<std::uint64_t>(entry.Size) ^ (std::uint64_t{1} << 63);
      break;
    case 'D': record.High = StampValue(entry.Time(Options.TimeKind)); break;
    default: break;
  }
}

}  // namespace

SortRecord MakeSortRecord(FileEntry& entry) {
  SortRecord record;
  record.Entry = &entry;
  PackKey(entry, record);
  if (Options.SortReverse) {
    record.High = ~record.High;
    record.Low = ~record.Low;
  }
  if (Options.DirsFirst && !entry.IsDirectory()) record.Group = 1;
  return record;
}

bool PackedKeysAreWhole() { return Options.SortKey != 'N' && Options.SortKey != 'X'; }
