// Folders a walk reads only when it gets there: those holding a file this run
// writes (its redirected output, the batch file). Their listing shows how much
// had been written when the walk reached them; read ahead, it would show an
// earlier moment, and the output would depend on the number of processors.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "Engine/Walk/ReadAhead.h"

// The folders below rootDirectory (ends in "\") that hold the file standard
// output goes to or one of files (named against the working directory), as the
// walk names them: rootDirectory followed by the names below it. The system
// names both sides, so another spelling of the same folder still matches.
// None when output goes to a file the system cannot name: it may be anywhere.
std::optional<std::vector<std::string>> WrittenFoldersBelow(const std::string& rootDirectory,
                                                            std::span<const std::string> files);

// Leaves those folders to the walk; every folder, by ending the workers, when
// they cannot be named.
template <typename Value>
void LeaveWrittenFoldersToTheWalk(ReadAhead<Value>& ahead, const std::string& rootDirectory,
                                  std::span<const std::string> files) {
  if (!ahead.Threaded()) return;
  const auto folders = WrittenFoldersBelow(rootDirectory, files);
  if (folders)
    ahead.ReadWhenReached(*folders);
  else
    ahead.Stop();
}
