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

// An extension: its first 7 folded bytes, then its length (8 for any longer
// one). Short extensions thus pack whole, and only then may the name decide
// from the packed numbers alone.
void PackExtensionKey(const FileEntry& entry, SortRecord& record) {
  std::string_view extension = NameExtension(entry.Name);
  std::uint64_t length = extension.size() < 8 ? extension.size() : 8;
  record.High = (PackedText(extension, 0) & ~std::uint64_t{0xFF}) | length;
  if (length < 8) record.Low = PackedText(entry.Name, 0);
}

void PackKey(const FileEntry& entry, SortRecord& record) {
  switch (Options.SortKey) {
    case 'N':
      record.High = PackedText(entry.Name, 0);
      record.Low = PackedText(entry.Name, 8);
      break;
    case 'X': PackExtensionKey(entry, record); break;
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
