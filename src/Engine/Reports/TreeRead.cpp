#include "Engine/Reports/TreeRead.h"

#include "Disk/ClusterRounding.h"
#include "Engine/Scan/ScanEnumeration.h"
#include "Engine/Walk/ReadAheadQueue.h"
#include "Platform/Files.h"

namespace {

// A stop is looked for once per this many entries.
constexpr std::size_t StopCheckInterval = 256;

std::int64_t AllocatedSize(const Plat::FindData& data, std::int32_t clusterSize) {
  return AllocatedBytes(ByteCountOf((std::uint64_t{data.SizeHigh} << 32) | data.SizeLow),
                        clusterSize);
}

bool Stopped(const ReadStop* stop, std::size_t seen) {
  return stop != nullptr && seen % StopCheckInterval == 0 && stop->Requested();
}

}  // namespace

TreeRead ReadTreeDirectory(const std::string& directory, std::int32_t clusterSize,
                           const ReadStop* stop) {
  TreeRead read;
  Plat::FindData data;
  const Plat::Handle search = Plat::FindFirst(directory + "*.*", EnumerationAttributes, data);
  if (search == Plat::InvalidHandle) {
    read.Code = Plat::LastError();
    return read;
  }
  std::size_t seen = 0;
  do {
    if (IsWalkedInto(data)) {
      read.Children.push_back(directory);
      read.Children.back().append(data.Name, data.NameLength);
    } else if (clusterSize > 0) {
      read.Allocated = AddByteCounts(read.Allocated, AllocatedSize(data, clusterSize));
    }
  } while (!Stopped(stop, ++seen) && Plat::FindNext(search, data));
  Plat::FindEnd(search);
  return read;
}

std::size_t TreeReadBytes(const TreeRead& read) {
  std::size_t bytes = read.Children.capacity() * sizeof(std::string);
  for (const std::string& child : read.Children) bytes += child.capacity();
  return bytes;
}
