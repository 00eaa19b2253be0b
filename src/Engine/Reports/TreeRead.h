// What /TREE needs of one directory: the subdirectories it enters and the
// space its files take, from the same directory read every listing uses. It
// prints nothing, so it may run ahead of the walk on a worker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ReadStop;

struct TreeRead {
  std::uint32_t Code = 0;             // the search start's error code, or 0
  std::int64_t Allocated = 0;         // the files' bytes in whole clusters
  std::vector<std::string> Children;  // full paths, in the order found
};

// Reads a directory (its path ends in "\"); a cluster size of 0 counts no
// space. A read on a worker gives up early when asked to stop.
TreeRead ReadTreeDirectory(const std::string& directory, std::int32_t clusterSize,
                           const ReadStop* stop = nullptr);
// Bytes a read holds, for the read-ahead's budget.
std::size_t TreeReadBytes(const TreeRead& read);
