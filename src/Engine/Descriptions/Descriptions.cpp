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
std::string LookupKey;  // the upper-cased name being looked up, reused

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
  LookupKey.assign(name);
  UpperAsciiInPlace(LookupKey);
  auto found = std::lower_bound(table.Index.begin(), table.Index.end(), LookupKey,
                                [&table](std::int32_t slot, const std::string& key) {
                                  return table.Pool[static_cast<std::size_t>(slot)].Name < key;
                                });
  if (found == table.Index.end()) return NoDescription;
  const DescriptionRecord& record = table.Pool[static_cast<std::size_t>(*found)];
  if (record.Name != LookupKey) return NoDescription;
  return table.Texts[static_cast<std::size_t>(record.LineIndex - 1)];
}
