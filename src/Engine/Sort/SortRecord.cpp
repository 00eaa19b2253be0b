// Packing the sort key of an entry into two 64-bit numbers whose order is the
// order of the key, reversed already when the sort is descending.
#include "Engine/Sort/SortRecord.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

#include "Base/ByteWords.h"
#include "Base/NameExtension.h"
#include "RunValues/Entries/Entries.h"
#include "RunValues/Options.h"

namespace {

// Folded bytes [from, from + 8) of a text, big-endian, zero past its end: a
// text that ends first never packs larger, as a prefix sorts first. Different
// packs order like the texts; equal packs leave it to the full comparison.
std::uint64_t PackedText(std::string_view text, std::size_t from) {
  char bytes[8] = {};
  if (from < text.size())
    CopyShort(bytes, text.data() + from, std::min<std::size_t>(8, text.size() - from));
  std::uint64_t packed = 0;
  std::memcpy(&packed, bytes, 8);
  if constexpr (std::endian::native == std::endian::little) packed = __builtin_bswap64(packed);
  // All eight bytes at once: a high bit marks each byte from 'a' to 'z'
  // (bytes from 0x80 up excluded), and 0x80 >> 2 is the case difference.
  using ByteWords::Ones;
  std::uint64_t seven = packed & (0x7F * Ones);
  std::uint64_t fromA = seven + (0x80 - 'a') * Ones;
  std::uint64_t pastZ = seven + (0x80 - 'z' - 1) * Ones;
  std::uint64_t lower = fromA & ~pastZ & ~packed & (0x80 * Ones);
  return packed - (lower >> 2);
}

// An extension: its first 7 folded bytes, then its length (8 for any longer
// one). Short extensions thus pack whole, and only then may the name decide
// from the packed numbers alone.
void PackExtensionKey(std::string_view name, SortRecord& record) {
  std::string_view extension = NameExtension(name);
  std::uint64_t length = extension.size() < 8 ? extension.size() : 8;
  record.High = (PackedText(extension, 0) & ~std::uint64_t{0xFF}) | length;
  if (length < 8) record.Low = PackedText(name, 0);
}

void PackKey(const FileEntry& entry, std::size_t nameFrom, SortRecord& record) {
  std::string_view name = entry.Name;
  name.remove_prefix(std::min(nameFrom, name.size()));
  switch (Options.SortKey) {
    case 'N':
      record.High = PackedText(name, 0);
      record.Low = PackedText(name, 8);
      break;
    case 'X': PackExtensionKey(name, record); break;
    case 'S':  // the sign bit flipped: signed order as unsigned order
      record.High = static_cast<std::uint64_t>(entry.Size) ^ (std::uint64_t{1} << 63);
      break;
    case 'D': record.High = Plat::TicksOf(entry.Time(Options.TimeKind)); break;
    default: break;
  }
}

}  // namespace

SortRecord MakeSortRecord(FileEntry& entry, std::size_t nameFrom) {
  SortRecord record;
  static_assert(alignof(FileEntry) > 1);
  record.Place = reinterpret_cast<std::uintptr_t>(&entry);
  PackKey(entry, nameFrom, record);
  if (Options.SortReverse) {
    record.High = ~record.High;
    record.Low = ~record.Low;
  }
  if (Options.DirsFirst && !entry.IsDirectory()) record.Place |= 1;
  return record;
}

bool PackedKeysAreWhole() { return Options.SortKey != 'N' && Options.SortKey != 'X'; }
