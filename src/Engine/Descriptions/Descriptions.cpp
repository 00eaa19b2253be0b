// The description step of a directory, the lookup by name and the layout swap
// for directories without a description file.
#include "Engine/Descriptions/Descriptions.h"

#include <algorithm>

#include "Base/AsciiCase.h"
#include "RunValues/DescriptionAndBatchState.h"
#include "RunValues/Options.h"
#include "Engine/Sort/Sort.h"

namespace {

const std::string NoDescription;

// The stored name against a name upper-cased (a to z) as it is compared, in
// the byte order of the sort: no upper-cased copy is made for an entry.
int CompareUpperCased(std::string_view stored, std::string_view name) {
  const std::size_t common = std::min(stored.size(), name.size());
  for (std::size_t at = 0; at < common; ++at) {
    const auto a = static_cast<unsigned char>(stored[at]);
    const auto b = static_cast<unsigned char>(UpperAscii(name[at]));
    if (a != b) return a < b ? -1 : 1;
  }
  return stored.size() < name.size() ? -1 : stored.size() > name.size() ? 1 : 0;
}

// Lines of the same name keep their file order, so the first one is found.
void SortDescriptionIndex(DescriptionTable& table) {
  std::stable_sort(table.Index.begin(), table.Index.end(), [&table](std::int32_t a, std::int32_t b) {
    return FoldedCompare(table.Pool[static_cast<std::size_t>(a)].Name,
                         table.Pool[static_cast<std::size_t>(b)].Name) < 0;
  });
}

}  // namespace

DirectoryLayout PrepareDescriptions(const std::string& directory, DescriptionTable& table) {
  if (!Options.ShowDescriptions) return {};
  if (LoadDescriptions(directory + "DESCRIPT.ION", table)) SortDescriptionIndex(table);
  return {.WithoutDescriptions = !table.Here && !Options.FormatChosen};
}

// Names are stored upper-cased, so plain byte order matches the sort. The
// whole index is searched, however many records it holds.
const std::string& LookupDescription(const DescriptionTable& table, std::string_view name) {
  auto found = std::lower_bound(table.Index.begin(), table.Index.end(), name,
                                [&table](std::int32_t slot, std::string_view key) {
                                  return CompareUpperCased(
                                             table.Pool[static_cast<std::size_t>(slot)].Name,
                                             key) < 0;
                                });
  if (found == table.Index.end()) return NoDescription;
  const DescriptionRecord& record = table.Pool[static_cast<std::size_t>(*found)];
  if (CompareUpperCased(record.Name, name) != 0) return NoDescription;
  return table.Texts[static_cast<std::size_t>(record.LineIndex - 1)];
}
