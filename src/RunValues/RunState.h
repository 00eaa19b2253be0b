// The walk over the directories of a run and its totals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The walk over the directories and its totals, a value the driver owns; each
// listing adds its totals.
struct RunWalkRec {
  std::vector<std::string> PendingDirs;  // directories still to list (a stack)
  bool FirstDirectory = true;            // true while the walk's first directory is listed
  std::int32_t TotalFiles = 0;           // files over all shown directories
  std::int64_t TotalBytes = 0;           // bytes over all shown directories
  std::int64_t TotalAllocated = 0;       // allocated bytes (only with a known cluster size)
  std::int32_t ShownDirCount = 0;        // recursive mode: directories where a file specification matched
};
