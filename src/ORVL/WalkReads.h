// The /S walk's reads ahead: a directory's request is built from the root's,
// frozen before the walk starts, so a worker reads nothing that changes.
#pragma once

#include <cstddef>
#include <string>

#include "Engine/Scan/DirectoryRead.h"
#include "Engine/Walk/ReadAhead.h"

// A read and the request it answered: the walk takes the read only when its
// own request for the directory is the same.
struct WalkRead {
  ReadRequest Request;
  DirectoryRead Read;
};

// The request for a pending directory (no trailing backslash), from the root's.
ReadRequest WalkedRequest(const ReadRequest& root, const std::string& directory);
// Bytes a read holds, for the read-ahead's budget.
std::size_t WalkReadBytes(const WalkRead& read);

// Reads ahead for the walk that starts at root; with no workers when the
// listing is not recursive.
class WalkReadAhead {
 public:
  WalkReadAhead(const ReadRequest& root, bool recursive);
  void Plan(std::span<const std::string> stack) { ahead_.Plan(stack); }
  // Fills read with the directory's entries for request, taken from a worker
  // or read here; request is what the walk asks now for that directory.
  void Take(const std::string& directory, const ReadRequest& request, DirectoryRead& read);

 private:
  ReadAhead<WalkRead> ahead_;
};
