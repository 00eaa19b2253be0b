// The order a listing sorts by: the key comparison of /O, with /O-'s reversal
// and directories first.
#include "Engine/Sort/EntryOrder.h"

#include "Base/AsciiCase.h"
#include "Base/NameExtension.h"
#include "RunValues/Entries/Entries.h"
#include "RunValues/Options.h"

namespace {

int FoldedByte(char character) { return static_cast<unsigned char>(UpperAscii(character)); }

template <typename T>
int ThreeWay(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int KeyCompare(const FileEntry& a, const FileEntry& b) {
  switch (Options.SortKey) {
    case 'N': return FoldedCompare(a.Name, b.Name);
    case 'X': {
      int result = FoldedCompare(NameExtension(a.Name), NameExtension(b.Name));
      return result != 0 ? result : FoldedCompare(a.Name, b.Name);
    }
    case 'S': return ThreeWay(a.Size, b.Size);
    case 'D':
      return ThreeWay(Plat::TicksOf(a.Time(Options.TimeKind)),
                      Plat::TicksOf(b.Time(Options.TimeKind)));
    default: return 0;
  }
}

}  // namespace

int FoldedCompare(std::string_view a, std::string_view b) {
  std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t at = 0; at < common; ++at) {
    int difference = FoldedByte(a[at]) - FoldedByte(b[at]);
    if (difference != 0) return difference;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareEntries(const FileEntry& a, const FileEntry& b) {
  int result = KeyCompare(a, b);
  if (Options.SortReverse) result = result < 0 ? 1 : (result > 0 ? -1 : 0);
  if (Options.DirsFirst && a.IsDirectory() != b.IsDirectory()) result = a.IsDirectory() ? -1 : 1;
  return result;
}
