// /TREE: a depth-first walk below the directory of the file specification,
// children in ascending name order, each directory read once for its
// subdirectories and the space its files take in whole clusters.
#include "Engine/Reports/TreeWalk.h"

#include <algorithm>

#include "Common/FileSpecState.h"
#include "Common/Options.h"
#include "Common/RunEnd.h"
#include "Common/RunState.h"
#include "Console/Console.h"
#include "Disk/ClusterRounding.h"
#include "Engine/Reports/Reports.h"
#include "Engine/Scan/Scan.h"
#include "Engine/Scan/ScanEnumeration.h"
#include "Engine/Sort/Sort.h"
#include "Platform/Files.h"

namespace {

// The root keeps the directory the file specification named; only its
// pattern is completed, for the path a fatal error shows.
void SetRootSpecification() {
  if (RunSpec.FileBase.empty()) RunSpec.FileBase = "*";
  if (RunSpec.FileExt.empty()) RunSpec.FileExt = "*";
  std::string extension = RunSpec.FileExt[0] == '.' ? RunSpec.FileExt.substr(1) : RunSpec.FileExt;
  RunSpec.SearchSpec = RunSpec.CurrentDir + RunSpec.FileBase + "." + extension;
}

void TakeNextDirectory() {
  RunSpec.CurrentDir = std::move(RunWalk.PendingDirs.back());
  RunWalk.PendingDirs.pop_back();
  RunSpec.CurrentDir += '\\';
  RunSpec.FileBase = "*";
  RunSpec.FileExt = ".*";
  RunSpec.SearchSpec = RunSpec.CurrentDir + "*.*";
}

// Starts reading RunSpec.CurrentDir; a failure the scan treats as fatal ends the run.
Plat::Handle StartDirectorySearch(Plat::FindData& data) {
  Plat::Handle search = Plat::FindFirst(RunSpec.CurrentDir + "*.*", EnumerationAttributes, data);
  ReportFindError(search == Plat::InvalidHandle ? Plat::LastError() : 0);
  return search;
}

std::int64_t AllocatedSize(const Plat::FindData& data) {
  return AllocatedBytes(ByteCountOf((std::uint64_t{data.SizeHigh} << 32) | data.SizeLow),
                        RunSpec.ClusterSize);
}

void ReadEntries(TreeWalkState& tree, Plat::Handle search, Plat::FindData& data,
                 std::vector<std::string>& children) {
  bool sized = !RunSpec.NoClusterSize && RunSpec.ClusterSize > 0;
  do {
    if (IsWalkedInto(data)) {
      children.push_back(RunSpec.CurrentDir);
      children.back().append(data.Name, data.NameLength);
      ++tree.DirectoryCount;
    } else if (sized) {
      tree.DirAllocated = AddByteCounts(tree.DirAllocated, AllocatedSize(data));
    }
  } while (Plat::FindNext(search, data));
  Plat::FindEnd(search);
}

// The alphabetically first child goes on top of the stack, to be visited next.
void PushChildren(std::vector<std::string>& children) {
  std::stable_sort(
      children.begin(), children.end(),
      [](const std::string& a, const std::string& b) { return FoldedCompare(a, b) < 0; });
  for (auto child = children.rbegin(); child != children.rend(); ++child)
    RunWalk.PendingDirs.push_back(std::move(*child));
  children.clear();
}

void ReadDirectory(TreeWalkState& tree, Plat::Handle search, Plat::FindData& data,
                   std::vector<std::string>& children) {
  if (search != Plat::InvalidHandle) ReadEntries(tree, search, data, children);
  PushChildren(children);
}

}  // namespace

void ShowTree() {
  TreeWalkState tree;
  Plat::FindData data;
  std::vector<std::string> children;
  if (!Options.Bare) NewLine();
  SetRootSpecification();
  Plat::Handle search = StartDirectorySearch(data);
  DrawRootLine(tree);
  ReadDirectory(tree, search, data, children);
  while (!RunWalk.PendingDirs.empty()) {
    // Ended before the next search starts, so a fatal error there follows a whole line.
    FinishDirectoryLine(tree);
    TakeNextDirectory();
    search = StartDirectorySearch(data);
    DrawDirectoryLine(tree);
    ReadDirectory(tree, search, data, children);
  }
  FinishDirectoryLine(tree);
  if (!Options.Bare) WriteClosingLine(tree);
  FWriteFinish();
  EndProgram();
}
