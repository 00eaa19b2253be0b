// The /S walk's reads ahead: a directory's request is built from the root's,
// frozen before the walk starts, so a worker reads nothing that changes.
#pragma once

#include <cstddef>
#include <string>

#include "Engine/Scan/DirectoryRead.h"
#include "Engine/Walk/ReadAhead.h"

// A read and the request it answered.
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
  // written: the files the run writes (the batch files), named against the
  // working directory; their folders are left to the walk.
  WalkReadAhead(const ReadRequest& root, bool recursive,
                const std::vector<std::string>& written = {});
  void Plan(std::span<const std::string> stack) { ahead_.Plan(stack); }
  // Fills `into` with the directory's request and entries, taken from a
  // worker or read here.
  void Take(const std::string& directory, WalkRead& into);

 private:
  const ReadRequest root_;
  ReadAhead<WalkRead> ahead_;  // last: its workers use the root above
};
