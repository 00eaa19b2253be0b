#include "ORVL/WalkReads.h"

#include "Platform/Threads.h"

namespace {

// The part of a root's path after its directory: the mask or specification.
std::string TailOf(const ReadRequest& root, const std::string& path) {
  return path.substr(root.Directory.size());
}

bool SameRequest(const ReadRequest& a, const ReadRequest& b) {
  return a.Directory == b.Directory && a.Paths == b.Paths && a.OwnMatcher == b.OwnMatcher &&
         a.Subdirectories == b.Subdirectories && a.Aliases == b.Aliases;
}

}  // namespace

ReadRequest WalkedRequest(const ReadRequest& root, const std::string& directory) {
  ReadRequest request = root;
  request.Directory = directory + "\\";
  for (std::size_t index = 0; index < root.Paths.size(); ++index)
    request.Paths[index] = request.Directory + TailOf(root, root.Paths[index]);
  return request;
}

std::size_t WalkReadBytes(const WalkRead& walkRead) {
  const DirectoryRead& read = walkRead.Read;
  std::size_t bytes = read.Entries.capacity() * sizeof(ReadEntry) + read.Texts.capacity() +
                      read.Searches.capacity() * sizeof(SearchResult);
  for (const std::string& subdirectory : read.Subdirectories)
    bytes += sizeof(std::string) + subdirectory.capacity();
  return bytes;
}

WalkReadAhead::WalkReadAhead(const ReadRequest& root, bool recursive)
    : ahead_(
          // The root is copied: the worker's requests never see the walk's state.
          [root](const std::string& directory, const ReadStop& stop) {
            WalkRead walkRead{WalkedRequest(root, directory), {}};
            ReadDirectory(walkRead.Request, walkRead.Read, &stop);
            return walkRead;
          },
          WalkReadBytes, {}, recursive ? ReadAheadWorkers(Plat::ProcessorCount()) : 0) {}

void WalkReadAhead::Take(const std::string& directory, const ReadRequest& request,
                         DirectoryRead& read) {
  // On one processor the walk reads into the same buffers every time.
  if (!ahead_.Threaded()) return ReadDirectory(request, read);
  WalkRead taken = ahead_.Take(directory);
  // A name the path services rewrite (trailing dots or blanks) asks otherwise.
  if (!SameRequest(taken.Request, request)) return ReadDirectory(request, read);
  read = std::move(taken.Read);
}
