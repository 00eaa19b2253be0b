#include "Engine/Reports/TreeRead.h"

#include "Disk/ClusterRounding.h"
#include "Engine/Scan/DirectoryRead.h"
#include "Engine/Scan/ScanEnumeration.h"

TreeRead ReadTreeDirectory(const std::string& directory, std::int32_t clusterSize,
                           const ReadStop* stop) {
  ReadRequest request;
  request.Directory = directory;
  request.Paths.push_back(directory + "*.*");
  request.Subdirectories = true;
  request.Aliases = false;
  DirectoryRead read;
  ReadDirectory(request, read, stop);
  TreeRead tree;
  tree.Code = read.FirstError;
  tree.Children = std::move(read.Subdirectories);
  if (clusterSize <= 0) return tree;
  for (const ReadEntry& entry : read.Entries)
    if (!IsWalkedInto(entry.Attributes, read.Name(entry)))
      tree.Allocated =
          AddByteCounts(tree.Allocated, AllocatedBytes(entry.Size, clusterSize));
  return tree;
}

std::size_t TreeReadBytes(const TreeRead& read) {
  std::size_t bytes = read.Children.capacity() * sizeof(std::string);
  for (const std::string& child : read.Children) bytes += child.capacity();
  return bytes;
}
