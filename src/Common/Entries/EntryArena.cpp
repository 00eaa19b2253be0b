#include "Common/Entries/EntryArena.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "Base/ByteWords.h"
#include "Common/Entries/Entries.h"

EntryStorage EntryStore;

namespace {
constexpr std::size_t TextBlockBytes = 256 * 1024;

// Moves to the next block that can take the text, adding one when none is left.
void AdvanceTextBlock(std::size_t bytes) {
  EntryStorage& store = EntryStore;
  if (!store.TextBlocks.empty()) ++store.CurrentBlock;
  while (store.CurrentBlock < store.TextBlocks.size() &&
         store.TextBlockSizes[store.CurrentBlock] < bytes)
    ++store.CurrentBlock;
  store.BlockUsed = 0;
  if (store.CurrentBlock < store.TextBlocks.size()) return;
  const std::size_t size = std::max(bytes, TextBlockBytes);
  try {
    store.TextBlocks.push_back(std::make_unique_for_overwrite<char[]>(size));
    store.TextBlockSizes.push_back(size);
  } catch (const std::bad_alloc&) {
    RunOutOfMemory();
  }
  store.CurrentBlock = store.TextBlocks.size() - 1;
}
}  // namespace

const char* StoreEntryText(std::string_view head, std::string_view tail, std::string_view third,
                           std::string_view fourth) {
  EntryStorage& store = EntryStore;
  const std::size_t bytes = head.size() + tail.size() + third.size() + fourth.size();
  if (bytes == 0) return "";
  if (store.TextBlocks.empty() ||
      store.BlockUsed + bytes > store.TextBlockSizes[store.CurrentBlock])
    AdvanceTextBlock(bytes);
  char* place = store.TextBlocks[store.CurrentBlock].get() + store.BlockUsed;
  for (std::string_view part : {head, tail, third, fourth}) {
    if (part.empty()) continue;  // most entries have neither a head nor an alias
    CopyShort(place, part.data(), part.size());
    place += part.size();
  }
  store.BlockUsed += bytes;
  return place - bytes;
}
