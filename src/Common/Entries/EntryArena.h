// Storage behind the entry pool: blocks of records and blocks of name text.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

struct FileEntry;

// Ends the run with a message when memory for entries runs out; installed by
// the scan. Without one, growth failures throw std::bad_alloc.
using OutOfMemoryHandler = void (*)();

struct EntryStorage {
  std::vector<std::unique_ptr<FileEntry[]>> RecordBlocks;  // pool records, a block at a time
  std::vector<std::unique_ptr<char[]>> TextBlocks;         // arena blocks of name text
  std::vector<std::size_t> TextBlockSizes;                 // bytes of each text block
  std::size_t CurrentBlock = 0;                            // text block being filled
  std::size_t BlockUsed = 0;                               // bytes used in that block
  OutOfMemoryHandler OutOfMemory = nullptr;                // growth failed
};
extern EntryStorage EntryStore;

// Copies the parts, one after the other, into the arena and returns where
// they now live.
const char* StoreEntryText(std::string_view head, std::string_view tail = {},
                           std::string_view third = {}, std::string_view fourth = {});
