// Byte counts of files, directories and whole walks, and the space a file
// takes in whole clusters: sizes past what a signed 64-bit count holds stop at
// its largest value instead of wrapping into negative figures. The listing's
// scan and the tree both count with these.
#pragma once

#include <cstdint>
#include <limits>

constexpr std::int64_t MaxByteCount = std::numeric_limits<std::int64_t>::max();

// A size as the file system reports it (unsigned 64 bits) as a count.
inline std::int64_t ByteCountOf(std::uint64_t size) {
  return size > static_cast<std::uint64_t>(MaxByteCount) ? MaxByteCount
                                                         : static_cast<std::int64_t>(size);
}

// sum + count, held at the limits of the type.
inline std::int64_t AddByteCounts(std::int64_t sum, std::int64_t count) {
  std::int64_t result = 0;
  if (!__builtin_add_overflow(sum, count, &result)) return result;
  return count > 0 ? MaxByteCount : std::numeric_limits<std::int64_t>::min();
}

// The space a file of size bytes takes in whole clusters (size itself when the
// cluster size is unknown). Clusters are a power of two in practice: a mask
// spares a division per entry.
inline std::int64_t AllocatedBytes(std::int64_t size, std::int64_t cluster) {
  if (cluster <= 0) return size;
  const std::int64_t rest = (cluster & (cluster - 1)) == 0 ? size & (cluster - 1) : size % cluster;
  return rest == 0 ? size : AddByteCounts(size - rest, cluster);
}
