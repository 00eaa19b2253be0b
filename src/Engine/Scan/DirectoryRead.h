// A directory read as a value: the entries one search (or one per file
// specification) delivers, with each search's result code and the
// subdirectories a walk goes into. Reading touches only the platform's find
// calls: it prints nothing, ends nothing and writes no shared state, so it may
// run ahead of the walk on another thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "RunValues/Entries/Entries.h"
#include "RunValues/Entries/RecordBlocks.h"
#include "Platform/Files.h"

class ReadStop;

struct ReadRequest {
  std::string Directory;           // ends in "\"; walked subdirectories are named from it
  std::vector<std::string> Paths;  // one search path (directory and mask) per file specification
  bool OwnMatcher = false;         // /R: the program's matcher selects the names
  bool Subdirectories = false;     // also gather the subdirectories a walk enters
  bool Aliases = true;             // keep the 8.3 aliases (most listings never show them)
};

// One delivered entry is the record a listing keeps: its Name is a place in
// the read's Texts, the alias (ShortLength bytes) right after it.
using ReadEntry = FileEntry;

// What one search path gave: its result code and where its entries end.
struct SearchResult {
  std::uint32_t Code = 0;       // 0, or the error code of the search's start
  int InvalidMaskPosition = 0;  // /R: the mask is invalid at this position (1-based)
  std::size_t EntriesEnd = 0;   // entries of this path end here in Entries
};

struct DirectoryRead {
  RecordBlocks<ReadEntry> Entries;          // in the order the searches delivered them
  UninitialisedBytes Texts;                 // the entries' names, back to back, up to TextsUsed
  std::size_t TextsUsed = 0;                // bytes of Texts in use; the rest is room kept
  std::vector<SearchResult> Searches;       // one per requested path, in order
  std::vector<std::string> Subdirectories;  // full paths of the directories a walk enters
  std::uint32_t FirstError = 0;             // the first non-zero search code

  std::string_view Name(const ReadEntry& entry) const {
    return {Texts.data() + entry.Name.Offset(), entry.Name.size()};
  }
  std::string_view Alias(const ReadEntry& entry) const {
    return {Texts.data() + entry.Name.Offset() + entry.Name.size(), entry.ShortLength};
  }
};

// Reads the directory the request names.
DirectoryRead ReadDirectory(const ReadRequest& request);
// The same into a read whose buffers are reused (the walk reads thousands). A
// read ahead on a worker gives up early when asked to stop; it is thrown away.
void ReadDirectory(const ReadRequest& request, DirectoryRead& read, const ReadStop* stop = nullptr);
