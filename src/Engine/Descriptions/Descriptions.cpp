// The description step of a directory, the lookup by name and the layout swap
// for directories without a description file.
#include "Engine/Descriptions/Descriptions.h"

#include <algorithm>

#include "Base/AsciiCase.h"
#include "Common/DescriptionAndBatchState.h"
#include "Common/Entries/Entries.h"
#include "Common/Options.h"
#include "Engine/Sort/Sort.h"

namespace {

const std::string NoDescription;
std::string LookupKey;  // the upper-cased name being looked up, reused

// Lines of the same name keep their file order, so the first one is found.
void SortDescriptionIndex() {
  std::stable_sort(RunFiles.DescriptionIndex.begin(), RunFiles.DescriptionIndex.end(),
                   [](std::int32_t a, std::int32_t b) {
                     return FoldedCompare(
                                RunFiles.DescriptionPool[static_cast<std::size_t>(a)].Name,
                                RunFiles.DescriptionPool[static_cast<std::size_t>(b)].Name) < 0;
                   });
}

}  // namespace

DirectoryLayout PrepareDescriptions() {
  if (!Options.ShowDescriptions) return {};
  RunFiles.DescriptionsHere = LoadDescriptions(ThisDir.CurrentDir + "DESCRIPT.ION");
  if (RunFiles.DescriptionsHere) SortDescriptionIndex();
  return {.WithoutDescriptions = !RunFiles.DescriptionsHere && !Options.FormatChosen};
}

// Names are stored upper-cased, so plain byte order matches the sort. The
// whole index is searched, however many records it holds.
const std::string& LookupDescription(std::string_view name) {
  LookupKey.assign(name);
  UpperAsciiInPlace(LookupKey);
  auto found =
      std::lower_bound(RunFiles.DescriptionIndex.begin(), RunFiles.DescriptionIndex.end(),
                       LookupKey, [](std::int32_t slot, const std::string& key) {
                         return RunFiles.DescriptionPool[static_cast<std::size_t>(slot)].Name < key;
                       });
  if (found == RunFiles.DescriptionIndex.end()) return NoDescription;
  const DescriptionRecord& record = RunFiles.DescriptionPool[static_cast<std::size_t>(*found)];
  if (record.Name != LookupKey) return NoDescription;
  return RunFiles.DescriptionTexts[static_cast<std::size_t>(record.LineIndex - 1)];
}

void DiscardDescriptions() {
  RunFiles.DescriptionIndex.clear();
  RunFiles.DescriptionTextCount = 0;
  RunFiles.DescriptionsLoaded = false;
}
