#include "ORVL/WalkReads.h"

#include <optional>

#include "RunValues/Options.h"
#include "Console/Console.h"
#include "Engine/Walk/WrittenFolders.h"
#include "Platform/Threads.h"

namespace {

// The part of a root's path after its directory: the mask or specification.
std::string TailOf(const ReadRequest& root, const std::string& path) {
  return path.substr(root.Directory.size());
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

WalkReadAhead::WalkReadAhead(const ReadRequest& root, bool recursive,
                             const std::vector<std::string>& written)
    : root_(root),
      ahead_(
          // The root is copied: the worker's requests never see the walk's state.
          [root](const std::string& directory, const ReadStop& stop) {
            WalkRead walkRead{WalkedRequest(root, directory), {}};
            ReadDirectory(walkRead.Request, walkRead.Read, &stop);
            return walkRead;
          },
          WalkReadBytes, {}, recursive ? ReadAheadWorkers(Plat::ProcessorCount()) : 0) {
  LeaveWrittenFoldersToTheWalk(ahead_, root.Directory, written);
}

void WalkReadAhead::Take(const std::string& directory, WalkRead& into) {
  // A walk that lists nothing for a while still ends at once on Ctrl+C.
  EndIfControlEvent();
  if (std::optional<WalkRead> ahead = ahead_.TakeReadAhead(directory)) {
    into = std::move(*ahead);
    return;
  }
  // Read here into the buffers of the directory before: a walk with workers
  // holds no more for the directories it reads itself than one without.
  into.Request = WalkedRequest(root_, directory);
  ReadDirectory(into.Request, into.Read);
}
