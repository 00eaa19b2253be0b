// /TREE: a depth-first walk below the directory of the file specification,
// children in ascending name order, each directory read once for its
// subdirectories and the space its files take in whole clusters. Workers read
// the directories next on the stack; every line is drawn on this thread.
#include "Engine/Reports/TreeWalk.h"

#include <algorithm>
#include <utility>

#include "RunValues/Colours.h"
#include "RunValues/FileSpecState.h"
#include "RunValues/Options.h"
#include "RunValues/RunEnd.h"
#include "Console/Console.h"
#include "Engine/Listing/Summary.h"
#include "Engine/Reports/Reports.h"
#include "Engine/Reports/TreeRead.h"
#include "Engine/Scan/Scan.h"
#include "Engine/Sort/Sort.h"
#include "Engine/Walk/DirectoryWalk.h"
#include "Engine/Walk/ReadAhead.h"
#include "Engine/Walk/WrittenFolders.h"

namespace {

// The root keeps the directory the file specification named; only its
// pattern is completed, for the path a fatal error shows.
void SetRootSpecification(TreeWalkState& tree) {
  const std::string base = RunSpec.FileBase.empty() ? "*" : RunSpec.FileBase;
  std::string extension = RunSpec.FileExt.empty() ? "*" : RunSpec.FileExt;
  if (extension[0] == '.') extension.erase(0, 1);
  tree.CurrentDir = RunSpec.CurrentDir;
  ConsoleEngine.ReportPath = tree.CurrentDir + base + "." + extension;
}

// The alphabetically first child goes on top of the stack, to be visited next.
void PushChildren(TreeWalkState& tree, std::vector<std::string>& children) {
  std::stable_sort(
      children.begin(), children.end(),
      [](const std::string& a, const std::string& b) { return FoldedCompare(a, b) < 0; });
  for (auto child = children.rbegin(); child != children.rend(); ++child)
    tree.PendingDirs.push_back(std::move(*child));
}

// Below the root, a directory the system will not open gets its line and the
// error under it, and the walk goes on; a missing drive still ends the run.
bool Unreadable(std::uint32_t code) {
  return code != 0 && !RunSpec.DriveInvalid && !FindErrorGoesOn(code);
}

// A read directory's line with its size, then its children on the stack.
void ShowReadDirectory(TreeWalkState& tree, TreeRead& read) {
  tree.DirAllocated = read.Allocated;
  FinishDirectoryLine(tree);
  tree.DirectoryCount += static_cast<std::int32_t>(read.Children.size());
  PushChildren(tree, read.Children);
}

void ShowUnreadableDirectory(TreeWalkState& tree, std::uint32_t code) {
  DrawDirectoryLine(tree);
  NewLine();
  WriteLine(FindErrorMessage(code), 1, Looks.Colours.HeadingColour);
}

// A directory below the root: false when it could not be read.
bool ShowWalkedDirectory(TreeWalkState& tree, const std::string& directory, TreeRead& read) {
  tree.CurrentDir = directory + '\\';
  ConsoleEngine.ReportPath = tree.CurrentDir + "*.*";
  if (Unreadable(read.Code)) {
    ShowUnreadableDirectory(tree, read.Code);
    return false;
  }
  ReportFindError(read.Code);
  DrawDirectoryLine(tree);
  ShowReadDirectory(tree, read);
  return true;
}

}  // namespace

void ShowTree() {
  TreeWalkState tree;
  if (!Options.Bare) NewLine();
  SetRootSpecification(tree);
  // Frozen before the walk: the workers read nothing that changes.
  const std::int32_t clusterSize =
      !RunSpec.NoClusterSize && RunSpec.ClusterSize > 0 ? RunSpec.ClusterSize : 0;
  TreeRead read = ReadTreeDirectory(tree.CurrentDir, clusterSize);
  ReportFindError(read.Code);
  // In this scope, so that every end of the run stops and joins the workers.
  ReadAhead<TreeRead> ahead(
      [clusterSize](const std::string& directory, const ReadStop& stop) {
        return ReadTreeDirectory(directory + "\\", clusterSize, &stop);
      },
      TreeReadBytes);
  LeaveWrittenFoldersToTheWalk(ahead, tree.CurrentDir, {});
  int unreadable = 0;
  bool root = true;
  const auto enter = [&](const std::string& directory, TreeRead& taken) {
    if (std::exchange(root, false)) {
      DrawRootLine(tree);
      return ShowReadDirectory(tree, taken);
    }
    if (!ShowWalkedDirectory(tree, directory, taken)) ++unreadable;
  };
  WalkDirectories(ahead, tree.PendingDirs, tree.CurrentDir, read, enter, [] {});
  if (!Options.Bare) WriteClosingLine(tree);
  WriteUnreadableCount(unreadable);
  FWriteFinish();
  EndProgram(unreadable > 0 ? ExitCode::Failed : ExitCode::Done);
}
